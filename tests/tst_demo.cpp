// The menu entry's "Try with a simulated cart": vellmore-demo --start, as a new user's desktop
// runs it, with the program, the simulator and Vellmore (a stand-in here) installed side by side.
#include "support/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

class DemoTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QString demo = root.filePath("data/vellmore/demo");
    QString vellmore = root.filePath("bin/vellmore");

    int start(QString* said = nullptr, const QStringList& arguments = {"--start"}, bool display = true)
    {
        QFile::remove(vellmore + ".where");
        QProcess process;
        QProcessEnvironment environment;
        environment.insert("HOME", root.path());
        environment.insert("XDG_DATA_HOME", root.filePath("data"));
        environment.insert("PATH", root.filePath("nowhere"));
        if (display)
            environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(root.filePath("bin/vellmore-demo"), arguments);
        process.waitForFinished(30000);
        if (said)
            *said = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode();
    }

    // Whether Vellmore came up in the demo folder, with the simulated cart kept there.
    bool vellmoreStartedInDemo()
    {
        return QTest::qWaitFor([&] { return QFileInfo(vellmore + ".env").size() > 0; }, 10000) &&
               testfiles::read(vellmore + ".where") == demo.toUtf8() &&
               testfiles::read(vellmore + ".env") == (demo + "/cart").toUtf8();
    }

private slots:
    void init()
    {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.filePath("bin"));
        QFile::copy(DEMO_PATH, root.filePath("bin/vellmore-demo"));
        QFile::copy(OBSIM_PATH, root.filePath("bin/vellmore-obsim"));
        testfiles::writeStandIn(vellmore, {"where", "env OBSIM_CART"});
    }

    // Laid out the first time; later what the user changed stays and what went missing comes back.
    void laysOutOnceAndStartsVellmoreThere()
    {
        QCOMPARE(start(), 0);
        QVERIFY(vellmoreStartedInDemo());
        QCOMPARE(testfiles::read(demo + "/OB.exe"), testfiles::read(OBSIM_PATH));
        QCOMPARE(QDir(demo + "/games").entryList(QDir::Files).size(), 5);
        testfiles::write(demo + "/gbaldr32.bin", "my own loader");
        QVERIFY(QFile::remove(demo + "/games/Lantern Maze.gba") && QFile::remove(demo + "/OB.exe"));
        QFile::remove(vellmore + ".env");
        QCOMPARE(start(), 0);
        QVERIFY(vellmoreStartedInDemo());
        QCOMPARE(testfiles::read(demo + "/gbaldr32.bin"), QByteArray("my own loader"));
        QVERIFY(QFileInfo::exists(demo + "/games/Lantern Maze.gba"));
        QVERIFY(QFileInfo(demo + "/OB.exe").isExecutable());
    }

    void aDemoThatCannotBeLaidOutStartsNothing()
    {
        testfiles::write(root.filePath("data/vellmore"), "a file where the folder belongs");
        QString said;
        QCOMPARE(start(&said), 1);
        QVERIFY2(said.contains("cannot make the folder " + demo + "/games: " + strerror(ENOTDIR)), qPrintable(said));
        QVERIFY(!QFileInfo::exists(vellmore + ".where"));
    }

    void commandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("--help") << QStringList{"--help"} << true << 0 << "usage: vellmore-demo --start";
        QTest::newRow("-h") << QStringList{"-h"} << true << 0 << "usage: vellmore-demo --start";
        QTest::newRow("an unknown option") << QStringList{"--strat"} << true << 2 << "usage: ";
        QTest::newRow("two folders") << QStringList{"a", "b"} << true << 2 << "usage: ";
        QTest::newRow("--start without a display")
            << QStringList{"--start"} << false << 1 << "there is no display to show Vellmore on";
    }

    void commandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, display);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QString said;
        QCOMPARE(start(&said, arguments, display), exitCode);
        QVERIFY2(said.contains(says), qPrintable(said));
        QVERIFY(!QFileInfo::exists(root.filePath("--strat")) && !QFileInfo::exists(vellmore + ".where"));
    }

    // The folder form lays out what the manual page says, the simulator included; several at once
    // on one folder all succeed.
    void folderFormAtOnce()
    {
        const QString folder = root.filePath("try here");
        QList<QProcess*> starts;
        for (int i = 0; i < 4; ++i) {
            starts.append(new QProcess(this));
            starts.last()->start(root.filePath("bin/vellmore-demo"), {folder});
        }
        for (QProcess* process : starts) {
            QVERIFY(process->waitForFinished(30000));
            QCOMPARE(process->exitCode(), 0);
        }
        QCOMPARE(testfiles::read(folder + "/OB.exe"), testfiles::read(OBSIM_PATH));
        QCOMPARE(QDir(folder + "/games").entryList(QDir::Files).size(), 5);
    }
};

QTEST_GUILESS_MAIN(DemoTest)
#include "tst_demo.moc"
