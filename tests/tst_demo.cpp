// The menu entry's "Try with a simulated cart": vellmore-demo --start, as a new user's desktop
// runs it, with the program, the simulator and Vellmore (a stand-in here) installed side by side.
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Install {
    QTemporaryDir root;
    QString bin = root.filePath(QStringLiteral("bin"));
    QString demo = root.filePath(QStringLiteral("data/vellmore/demo"));
    QString vellmore = bin + QStringLiteral("/vellmore");

    Install(bool withVellmore = true)
    {
        QDir().mkpath(bin);
        QFile::copy(QStringLiteral(DEMO_PATH), bin + QStringLiteral("/vellmore-demo"));
        QFile::copy(QStringLiteral(OBSIM_PATH), bin + QStringLiteral("/vellmore-obsim"));
        if (withVellmore)
            testfiles::writeStandIn(vellmore, {QStringLiteral("where"), QStringLiteral("env OBSIM_CART")});
    }

    // Runs the action; its output, and whether Vellmore was started in the demo folder.
    QString start(int* exitCode) const
    {
        QProcess process;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), root.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("PATH"), root.filePath(QStringLiteral("nowhere")));
        process.setProcessEnvironment(environment);
        process.start(bin + QStringLiteral("/vellmore-demo"), {QStringLiteral("--start")});
        process.waitForFinished(30000);
        *exitCode = process.exitCode();
        return QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    }

    bool vellmoreStartedInDemo() const
    {
        const QString env = vellmore + QStringLiteral(".env");
        return QTest::qWaitFor([&] { return QFileInfo(env).size() > 0; }, 10000) &&
               testfiles::read(vellmore + QStringLiteral(".where")) == demo.toUtf8() &&
               testfiles::read(vellmore + QStringLiteral(".env")) == (demo + QStringLiteral("/cart")).toUtf8();
    }
};

} // namespace

class DemoTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartLaysOutTheDemoAndStartsVellmoreThere()
    {
        Install install;
        int exitCode = -1;
        const QString said = install.start(&exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY2(install.vellmoreStartedInDemo(), qPrintable(said));
        QCOMPARE(testfiles::read(install.demo + QStringLiteral("/OB.exe")),
                 testfiles::read(QStringLiteral(OBSIM_PATH)));
        QVERIFY(QFileInfo(install.demo + QStringLiteral("/OB.exe")).isExecutable());
        QVERIFY(QFileInfo(install.demo + QStringLiteral("/gbaldr32.bin")).size() > 0);
        QCOMPARE(QDir(install.demo + QStringLiteral("/games")).entryList(QDir::Files).size(), 5);
    }

    // Laid out once and kept: what the user changed stays, what went missing comes back.
    void laterStartsKeepTheUsersFiles()
    {
        Install install;
        int exitCode = -1;
        install.start(&exitCode);
        QCOMPARE(exitCode, 0);
        testfiles::write(install.demo + QStringLiteral("/gbaldr32.bin"), "my own loader");
        QVERIFY(QFile::remove(install.demo + QStringLiteral("/games/Lantern Maze.gba")));
        QVERIFY(QFile::remove(install.demo + QStringLiteral("/OB.exe")));
        QFile::remove(install.vellmore + QStringLiteral(".env"));
        install.start(&exitCode);
        QCOMPARE(exitCode, 0);
        QVERIFY(install.vellmoreStartedInDemo());
        QCOMPARE(testfiles::read(install.demo + QStringLiteral("/gbaldr32.bin")), QByteArray("my own loader"));
        QVERIFY(QFileInfo::exists(install.demo + QStringLiteral("/games/Lantern Maze.gba")));
        QVERIFY(QFileInfo(install.demo + QStringLiteral("/OB.exe")).isExecutable());
    }

    void failuresSayWhyAndStartNothing_data()
    {
        QTest::addColumn<bool>("withVellmore");
        QTest::addColumn<bool>("dataFolderIsAFile");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("no vellmore")       << false << false << "cannot find vellmore";
        QTest::newRow("data folder taken") << true  << true  << "cannot make the folder ";
        // clang-format on
    }

    void failuresSayWhyAndStartNothing()
    {
        QFETCH(bool, withVellmore);
        QFETCH(bool, dataFolderIsAFile);
        QFETCH(QString, expected);
        Install install(withVellmore);
        if (dataFolderIsAFile)
            testfiles::write(install.root.filePath(QStringLiteral("data/vellmore")), "a file, not a folder");
        int exitCode = -1;
        const QString said = install.start(&exitCode);
        QCOMPARE(exitCode, 1);
        QVERIFY2(said.contains(expected), qPrintable(said));
        QVERIFY(!QFileInfo::exists(install.vellmore + QStringLiteral(".where")));
    }
};

QTEST_GUILESS_MAIN(DemoTest)
#include "tst_demo.moc"
