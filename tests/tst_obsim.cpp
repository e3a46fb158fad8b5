// The cart simulator that stands in for the flash tool.
#include "RomImage.h"
#include "compat/QtCompat.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#endif
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
    QString error;
};

ToolRun runTool(const QString& cart, const QStringList& arguments, qint64 fileSizeLimit = 0)
{
    compat::ChildSetupProcess process;
#ifdef Q_OS_UNIX
    if (fileSizeLimit > 0) {
        process.setChildSetup([fileSizeLimit] {
            const struct rlimit limit = {rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN); // the write fails with the system's reason instead
        });
    }
#else
    Q_UNUSED(fileSizeLimit);
#endif
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("OBSIM_CART", cart);
    process.setProcessEnvironment(environment);
    process.start(OBSIM_PATH, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// The complement check, computed here independently of the program's own code.
quint8 complementOf(const QByteArray& image)
{
    quint8 check = 0;
    for (int i = 0xA0; i <= 0xBC; ++i)
        check = quint8(check - quint8(image[i]));
    return quint8(check - 0x19);
}

} // namespace

class ObsimTest : public QObject {
    Q_OBJECT

private slots:
    void options_data();
    void options();
    void flashRepairsTheHeaderInTheCartOnly_data();
    void flashRepairsTheHeaderInTheCartOnly();
    void refusals_data();
    void refusals();
    void cartBackupReadsExactlyTheChipSize_data();
    void cartBackupReadsExactlyTheChipSize();
    void saveBanksRoundTrip();
    void stoppedLeavesNoPartialFile_data();
    void stoppedLeavesNoPartialFile();
};

void ObsimTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");

    const QString file = "FILE";
    QTest::newRow("flash") << QStringList{"-2", "-w", "0", "-l", "1", "-p", file} << 0;
    QTest::newRow("flash without repair or EPP") << QStringList{"-n", "-w", "0", "-l", "1", "-p", file} << 0;
    QTest::newRow("wait step with a leading blank") << QStringList{"-2", "-w", " 5", "-l", "1", "-p", file} << 0;
    QTest::newRow("save backup") << QStringList{"-2", "-w", "0", "-l", "1", "-b", "4", "4", file} << 0;
    QTest::newRow("save restore") << QStringList{"-w", "3", "-l", "1", "-r", "2", file} << 0;
    QTest::newRow("cart backup") << QStringList{"-2", "-w", "0", "-l", "1", "-c", "8", "-s", file} << 0;
    QTest::newRow("port 0") << QStringList{"-w", "0", "-l", "0", "-p", file} << 2;
    QTest::newRow("port 5") << QStringList{"-w", "0", "-l", "5", "-p", file} << 2;
    QTest::newRow("wait step of letters") << QStringList{"-w", "abc", "-l", "1", "-p", file} << 2;
    QTest::newRow("wait step empty") << QStringList{"-w", "", "-l", "1", "-p", file} << 2;
    QTest::newRow("bank 5") << QStringList{"-w", "0", "-l", "1", "-b", "5", "1", file} << 2;
    QTest::newRow("size code 0") << QStringList{"-w", "0", "-l", "1", "-b", "1", "0", file} << 2;
    QTest::newRow("chip size 48") << QStringList{"-w", "0", "-l", "1", "-c", "48", "-s", file} << 2;
    QTest::newRow("chip size 512") << QStringList{"-w", "0", "-l", "1", "-c", "512", "-s", file} << 2;
    QTest::newRow("-n with a backup") << QStringList{"-n", "-w", "0", "-l", "1", "-c", "8", "-s", file} << 2;
    QTest::newRow("options out of order") << QStringList{"-l", "1", "-w", "0", "-p", file} << 2;
    QTest::newRow("no operation") << QStringList{"-w", "0", "-l", "1"} << 2;
    QTest::newRow("no file") << QStringList{"-w", "0", "-l", "1", "-p"} << 2;
    QTest::newRow("one argument too many") << QStringList{"-w", "0", "-l", "1", "-p", file, "extra"} << 2;
    QTest::newRow("cart backup without -s") << QStringList{"-w", "0", "-l", "1", "-c", "8", file} << 2;
}

void ObsimTest::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString file = dir.filePath("image file.gba");
    testfiles::write(file, romimage::makeGameImage("T", "TEST", 4096));
    arguments.replaceInStrings(QRegularExpression("^FILE$"), file);
    const ToolRun result = runTool(dir.filePath("cart"), arguments);
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode != 0)
        QVERIFY2(result.error.startsWith("obsim: "), qPrintable(result.error));
}

void ObsimTest::flashRepairsTheHeaderInTheCartOnly_data()
{
    QTest::addColumn<bool>("repair");
    QTest::newRow("repair") << true;
    QTest::newRow("-n leaves the header alone") << false;
}

void ObsimTest::flashRepairsTheHeaderInTheCartOnly()
{
    QFETCH(bool, repair);
    QTemporaryDir dir;
    QByteArray image = romimage::makeGameImage("BROKEN", "BRKN", 3 * 1024 * 1024 + 5);
    image[0xBD] = char(complementOf(image) + 1);
    const QString file = dir.filePath("multi.gba");
    testfiles::write(file, image);

    QStringList arguments{"-2", "-w", "0", "-l", "1", "-p", file};
    if (!repair)
        arguments.prepend("-n");
    const ToolRun result = runTool(dir.filePath("cart"), arguments);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.output.contains("Written"));

    const QByteArray onCart = testfiles::read(dir.filePath("cart/flash.bin"));
    QCOMPARE(onCart.size(), image.size());
    QCOMPARE(quint8(onCart[0xBD]), repair ? complementOf(image) : quint8(image[0xBD]));
    QCOMPARE(onCart.left(0xBD), image.left(0xBD));
    QCOMPARE(onCart.mid(0xBE), image.mid(0xBE));
    QCOMPARE(testfiles::read(file), image);
}

void ObsimTest::refusals_data()
{
    QTest::addColumn<QString>("setup"); // what the test arranges first
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");

    QTest::newRow("image missing") << "" << QStringList{"-w", "0", "-l", "1", "-p", "%T/none.gba"} << 3
                                   << "cannot open the image";
    QTest::newRow("image larger than the cart")
        << "huge" << QStringList{"-w", "0", "-l", "1", "-p", "%T/huge.gba"} << 4 << "more than the cart";
    QTest::newRow("no cart on that port")
        << "" << QStringList{"-w", "0", "-l", "2", "-p", "%T/small.gba"} << 5 << "no cart found on LPT2";
    QTest::newRow("output under a regular file")
        << "" << QStringList{"-w", "0", "-l", "1", "-c", "8", "-s", "%T/small.gba/out.gba"} << 6 << "cannot write";
    QTest::newRow("saved game missing") << "" << QStringList{"-w", "0", "-l", "1", "-r", "1", "%T/none.sav"} << 3
                                        << "cannot open the saved game";
    // The output is written whole or not at all, through links, and never over what is not an ordinary file.
    const QStringList cartBackup{"-w", "0", "-l", "1", "-c", "8", "-s", "%T/out.gba"};
#ifdef Q_OS_UNIX // links and FIFOs of the file system, a file-size limit
    QTest::newRow("output a link to a file: written through") << "link" << cartBackup << 0 << "Done.";
    QTest::newRow("output a circle of links") << "loop" << cartBackup << 6 << "circle";
    QTest::newRow("output a link to /dev/null") << "device link" << cartBackup << 6 << "not an ordinary file";
    QTest::newRow("output a FIFO") << "fifo" << cartBackup << 6 << "not an ordinary file";
    QTest::newRow("the disk fills up") << "limit" << cartBackup << 6 << QString::fromLocal8Bit(strerror(EFBIG));
#endif
}

void ObsimTest::refusals()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    testfiles::write(dir.filePath("small.gba"), romimage::makeGameImage("S", "SMAL", 1024));
    if (setup == "huge") {
        QFile huge(dir.filePath("huge.gba"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(256 * 131072 + 1));
    }
    const QString out = dir.filePath("out.gba");
    const QString elsewhere = dir.filePath("elsewhere.gba");
    if (setup == "link") {
        testfiles::write(elsewhere, "an older backup");
        QVERIFY(QFile::link(elsewhere, out));
    } else if (setup == "loop") {
        QVERIFY(QFile::link(out + ".2", out));
        QVERIFY(QFile::link(out, out + ".2"));
    } else if (setup == "device link") {
        QVERIFY(QFile::link("/dev/null", out));
#ifdef Q_OS_UNIX
    } else if (setup == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(out).constData(), 0644), 0);
#endif
    }
    arguments.replaceInStrings("%T", dir.path());
    const ToolRun result = runTool(dir.filePath("cart"), arguments, setup == "limit" ? 64 * 1024 : 0);
    QCOMPARE(result.exitCode, exitCode);
    const QString said = exitCode == 0 ? result.output : result.error;
    QVERIFY2(said.contains(reason), qPrintable(said));
    QVERIFY(!QFile::exists(dir.filePath("cart/flash.bin")));
    if (setup == "link") {
        QVERIFY2(QFileInfo(out).isSymLink(), "the link stays a link");
        QCOMPARE(QFileInfo(elsewhere).size(), 8 * 131072);
    }
    if (setup == "device link" || setup == "fifo")
        QVERIFY2(!QFileInfo(out).isFile() || QFileInfo(out).isSymLink(), "what stood there is still there");
    if (setup == "limit")
        QVERIFY(!QFile::exists(out));
}

void ObsimTest::cartBackupReadsExactlyTheChipSize_data()
{
    QTest::addColumn<int>("mbit");
    QTest::newRow("8") << 8;
    QTest::newRow("32") << 32;
}

void ObsimTest::cartBackupReadsExactlyTheChipSize()
{
    QFETCH(int, mbit);
    QTemporaryDir dir;
    const QByteArray image = romimage::makeGameImage("GAME", "GAME", 768 * 1024 + 3);
    testfiles::write(dir.filePath("g.gba"), image);
    QCOMPARE(runTool(dir.filePath("cart"), {"-w", "0", "-l", "1", "-p", dir.filePath("g.gba")}).exitCode, 0);
    QCOMPARE(
        runTool(dir.filePath("cart"), {"-w", "0", "-l", "1", "-c", QString::number(mbit), "-s", dir.filePath("b.gba")})
            .exitCode,
        0);
    const QByteArray backup = testfiles::read(dir.filePath("b.gba"));
    QCOMPARE(backup.size(), mbit * 131072);
    QCOMPARE(backup.left(image.size()), image);
    QCOMPARE(backup.mid(image.size()), QByteArray(backup.size() - image.size(), char(0xFF)));
}

void ObsimTest::saveBanksRoundTrip()
{
    QTemporaryDir dir;
    const QByteArray save = testfiles::pattern(64 * 1024, 9);
    testfiles::write(dir.filePath("in.sav"), save);
    QCOMPARE(runTool(dir.filePath("cart"), {"-w", "0", "-l", "1", "-r", "3", dir.filePath("in.sav")}).exitCode, 0);
    QCOMPARE(runTool(dir.filePath("cart"), {"-w", "0", "-l", "1", "-b", "3", "2", dir.filePath("out.sav")}).exitCode,
             0);
    QCOMPARE(testfiles::read(dir.filePath("out.sav")), save);
    QCOMPARE(runTool(dir.filePath("cart"), {"-w", "0", "-l", "1", "-b", "2", "1", dir.filePath("empty.sav")}).exitCode,
             0);
    QCOMPARE(testfiles::read(dir.filePath("empty.sav")), QByteArray(32 * 1024, char(0xFF)));
}

// Asked to end half way (by Stop, Ctrl+C, a closed terminal), the simulator takes its partial file with it,
// as a well-behaved tool would: the cart's flash being written, or a backup.
void ObsimTest::stoppedLeavesNoPartialFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal");
    QTest::newRow("a cart backup, TERM") << QStringList{"-w", "0", "-l", "1", "-c", "8", "-s", "cart.gba"} << SIGTERM;
    QTest::newRow("a flash, INT") << QStringList{"-w", "0", "-l", "1", "-p", "image.gba"} << SIGINT;
}

void ObsimTest::stoppedLeavesNoPartialFile()
{
#ifndef Q_OS_UNIX
    QSKIP("signals are POSIX's");
#else
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QTemporaryDir dir;
    testfiles::write(dir.filePath("image.gba"), romimage::makeGameImage("HANG", "HANG", 2 << 20));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("OBSIM_CART", dir.filePath("cart"));
    environment.insert("OBSIM_FAULT", "hang");
    process.setProcessEnvironment(environment);
    process.start(OBSIM_PATH, arguments);
    auto partials = [&] {
        return QDir(dir.path()).entryList({"*.obsim-*"}, QDir::Files) +
               QDir(dir.filePath("cart")).entryList({"*.obsim-*"}, QDir::Files);
    };
    QTRY_VERIFY_WITH_TIMEOUT(!partials().isEmpty(), 20000);
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(partials(), QStringList());
#endif
}

QTEST_GUILESS_MAIN(ObsimTest)
#include "tst_obsim.moc"
