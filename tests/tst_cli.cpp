// vellmore-cli and the core functions it stands on: game headers, save types, the layout of a
// multirom, the tool's command lines, verify against the simulator, Ctrl+C and doctor.
#include "RomImage.h"
#include "cart/ToolCommands.h"
#include "multirom/GameHeader.h"
#include "multirom/HeaderBytes.h"
#include "multirom/LayoutRecord.h"
#include "multirom/MultiromLayout.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <csignal>

#include <sys/types.h>
#else
#include <windows.h>
#endif

namespace {

struct Ran {
    int code = -1;
    QString out;
    QString err;
};

// vellmore-cli with args, in folder, with the environment's additions.
Ran cli(const QStringList& args, const QString& folder, const QStringList& environment = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    process.setProcessEnvironment(env);
    process.start(CLI_PATH, args);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gameHeaderChecks_data();
    void gameHeaderChecks();
    void placeNamesThePieceAnOffsetFallsIn_data();
    void placeNamesThePieceAnOffsetFallsIn();
    void infoFlagsWhatNoCartHolds_data();
    void infoFlagsWhatNoCartHolds();
    void saveType_data();
    void saveType();
    void compileLaysOutAndKeepsToTheChip();
    void commandLinesAreTheWindows_data();
    void commandLinesAreTheWindows();
    void verifyReadsTheCartBack_data();
    void verifyReadsTheCartBack();
    void signalsStopTheTool_data();
    void signalsStopTheTool();
    void doctorSaysWhatToDo_data();
    void doctorSaysWhatToDo();
    void doctorOnWindows_data();
    void doctorOnWindows();
    void namesWholeAndWildcardsExpanded();
    void aNameThatIsNotTextIsRefusedByName();
    void helpRunsNothingAndBackupsAskFirst_data();
    void helpRunsNothingAndBackupsAskFirst();
    void badArgumentsExit2_data();
    void badArgumentsExit2();
    void layoutRecordMustFitTheMultirom_data();
    void layoutRecordMustFitTheMultirom();
    void standardOutputIsThatFileOnly_data();
    void standardOutputIsThatFileOnly();
    void jsonIsOneObjectOnEveryPath_data();
    void jsonIsOneObjectOnEveryPath();

private:
    QString at(const QString& name) const { return testfiles::native(m_dir->filePath(name)); }
    // A folder with a loader, three games (the second 1 MiB) and the simulator as OB.exe.
    void layOut();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void CliTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void CliTest::layOut()
{
    testfiles::write(at("loader.bin"), romimage::makeGameImage("LOADER", "LDR0", 8192));
    testfiles::write(at("a.gba"), romimage::makeGameImage("ALPHA", "AAAA", 70000));
    testfiles::write(at("b.gba"), romimage::makeGameImage("COMETCOURIER", "CMTE", 1 << 20));
    testfiles::write(at("c.gba"), romimage::makeGameImage("GAMMA", "GGGG", 50000));
    QVERIFY(QFile::copy(OBSIM_PATH, at("OB.exe")));
}

void CliTest::gameHeaderChecks_data()
{
    QTest::addColumn<int>("offset"); // the byte changed; -1: none
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("problem");
    QTest::newRow("a good image") << -1 << 4096 << "";
    QTest::newRow("no fixed value") << 0xB2 << 4096 << "not a game image: 4,096 bytes";
    QTest::newRow("zero after it") << 0xB3 << 4096 << "byte at 0xB3 is 0x01, 0x00 expected";
    QTest::newRow("a title byte") << 0xA0 << 4096 << "complement byte is 0x36, 0x35 expected";
    QTest::newRow("too short") << -1 << 100 << "not a game image: 100 bytes";
}

void CliTest::gameHeaderChecks()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QFETCH(QString, problem);
    QByteArray image = romimage::makeGameImage("COMETCOURIER", "CMTE", 4096).left(size);
    if (offset >= 0)
        image[offset] = char(image[offset] + 1);
    const multirom::GameHeader header = multirom::gameHeaderOf(image.left(multirom::gameHeaderSize), size);
    QCOMPARE(header.problem, problem);
    if (size >= multirom::gameHeaderSize && offset < 0)
        QCOMPARE(header.title + "|" + header.gameCode + "|" + header.maker, QString("COMETCOURIER|CMTE|01"));
}

void CliTest::placeNamesThePieceAnOffsetFallsIn_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("place");
    // A loader of 0x100 bytes, game 1 of 0x200, game 2 of 0x80 (its file known).
    QTest::newRow("the first byte") << qint64(0) << "the loader at +0x0";
    QTest::newRow("the loader's last byte") << qint64(0xFF) << "the loader at +0xFF";
    QTest::newRow("game 1's first byte") << qint64(0x100) << "game 1 'ALPHA' at +0x0";
    QTest::newRow("game 1's last byte") << qint64(0x2FF) << "game 1 'ALPHA' at +0x1FF";
    QTest::newRow("game 2's first byte") << qint64(0x300) << "game 2 'COMETCOURIER' (games/comet.gba) at +0x0";
    QTest::newRow("game 2's last byte") << qint64(0x37F) << "game 2 'COMETCOURIER' (games/comet.gba) at +0x7F";
}

void CliTest::placeNamesThePieceAnOffsetFallsIn()
{
    QFETCH(qint64, offset);
    QFETCH(QString, place);
    const QList<multirom::MultiromPiece> pieces{{0, 0x0, 0x100, "LOADER", ""},
                                                {1, 0x100, 0x200, "ALPHA", ""},
                                                {2, 0x300, 0x80, "COMETCOURIER", "games/comet.gba"}};
    QCOMPARE(multirom::placeOf(pieces, offset), place);
}

void CliTest::infoFlagsWhatNoCartHolds_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("code");
    QTest::newRow("256 Mbit exactly") << qint64(33554432) << 0;
    QTest::newRow("a byte more") << qint64(33554433) << 1;
}

void CliTest::infoFlagsWhatNoCartHolds()
{
    QFETCH(qint64, size);
    QFETCH(int, code);
    testfiles::write(at("big.gba"), romimage::makeGameImage("BIG", "BIGG", 4096));
    QVERIFY(QFile::resize(at("big.gba"), size));
    const Ran ran = cli({"info", "--json", "big.gba"}, m_dir->path());
    QCOMPARE(ran.code, code);
    const QJsonObject game = QJsonDocument::fromJson(ran.out.toUtf8()).object()["games"].toArray().first().toObject();
    QCOMPARE(game["fitsCart"].toBool(), code == 0);
}

void CliTest::saveType_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<int>("at");
    QTest::addColumn<bool>("eepromLater"); // a second ID, EEPROM_V at 9,000
    QTest::addColumn<QString>("type");
    QTest::newRow("EEPROM") << QByteArray("EEPROM_V124") << 5000 << false << "EEPROM";
    QTest::newRow("SRAM") << QByteArray("SRAM_V113") << 5000 << false << "SRAM";
    QTest::newRow("SRAM with the F") << QByteArray("SRAM_F_V102") << 5000 << false << "SRAM";
    QTest::newRow("Flash 64K") << QByteArray("FLASH_V126") << 5000 << false << "Flash 64K";
    QTest::newRow("Flash 512") << QByteArray("FLASH512_V131") << 5000 << false << "Flash 64K";
    QTest::newRow("Flash 1M across a MiB") << QByteArray("FLASH1M_V103") << (1 << 20) - 4 << false << "Flash 128K";
    QTest::newRow("none") << QByteArray() << 0 << false << "none";
    QTest::newRow("off the 4-byte grid: text, not an ID") << QByteArray("EEPROM_V124") << 5001 << false << "none";
    // Two IDs: the first in the file is the game's, whatever kind the second is.
    QTest::newRow("SRAM, then EEPROM") << QByteArray("SRAM_V113") << 5000 << true << "SRAM";
    QTest::newRow("EEPROM, then Flash") << QByteArray("FLASH_V126") << 12000 << true << "EEPROM";
    QTest::newRow("Flash at the start, then EEPROM") << QByteArray("FLASH_V126") << 8 << true << "Flash 64K";
}

void CliTest::saveType()
{
    QFETCH(QByteArray, id);
    QFETCH(int, at);
    QFETCH(bool, eepromLater);
    QFETCH(QString, type);
    QByteArray image = romimage::makeGameImage("SAVES", "SAVE", 2 << 20);
    image.replace(at, id.size(), id);
    if (eepromLater)
        image.replace(9000, 11, QByteArray("EEPROM_V124"));
    testfiles::write(this->at("s.gba"), image);
    QCOMPARE(multirom::saveTypeOf(this->at("s.gba")), type);
}

void CliTest::compileLaysOutAndKeepsToTheChip()
{
    layOut();
    // The user's own flash.bat in the current folder is no business of a compile from here.
    testfiles::write(at("flash.bat"), "@echo the user's own\r\n");
    // b.gba twice: the second is dropped, as adding a game again in the window adds nothing.
    const Ran ran = cli(
        {"compile", "--loader", "loader.bin", "--output", "multi.gba", "b.gba", "a.gba", "b.gba", "c.gba", "--json"},
        m_dir->path());
    QCOMPARE(ran.code, 0);
    QCOMPARE(testfiles::read(at("flash.bat")), QByteArray("@echo the user's own\r\n"));
    const QJsonObject result = QJsonDocument::fromJson(ran.out.toUtf8()).object();
    QStringList layout;
    for (const QJsonValue piece : result["layout"].toArray())
        layout.append(QString("%1@%2:%3")
                          .arg(piece["title"].toString())
                          .arg(piece["offset"].toVariant().toLongLong())
                          .arg(piece["size"].toVariant().toLongLong()));
    QCOMPARE(layout,
             QStringList({"LOADER@0:8192", "COMETCOURIER@8192:1048576", "ALPHA@1056768:70000", "GAMMA@1126768:50000"}));
    QCOMPARE(testfiles::read(at("multi.gba")).size(), 1176768);
    // Larger than an 8 Mbit chip (1 MiB): refused, and the multirom there is left as it was.
    const Ran refused = cli(
        {"compile", "--loader", "loader.bin", "--output", "multi.gba", "--chip", "8", "a.gba", "b.gba"}, m_dir->path());
    QCOMPARE(refused.code, 1);
    QVERIFY2(refused.err.contains("more than a 8 Mbit chip's 1,048,576; nothing was written"), qPrintable(refused.err));
    QCOMPARE(testfiles::read(at("multi.gba")).size(), 1176768);
}

void CliTest::commandLinesAreTheWindows_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("expected"); // as the window builds them; %T: the tool, %F: the file
    QTest::newRow("flash") << QStringList{"flash", "--port", "2", "--no-header-repair", "multi.gba"}
                           << cart::flashCommand({"%T", 2, true, "0"}, false, "%F").arguments();
    QTest::newRow("backup-save") << QStringList{"backup-save", "--bank", "3", "--size", "128K",
                                                "--no-epp",    "--wait", "7", "new.sav"}
                                 << cart::saveBackupCommand({"%T", 1, false, "7"}, 3, 3, "%F").arguments();
    QTest::newRow("restore-save") << QStringList{"restore-save", "--bank", "4", "--port", "3", "game.sav"}
                                  << cart::saveRestoreCommand({"%T", 3, true, "0"}, 4, "%F").arguments();
    QTest::newRow("backup-cart") << QStringList{"backup-cart", "--chip", "128", "--port", "4", "cart.gba"}
                                 << cart::cartBackupCommand({"%T", 4, true, "0"}, 128, "%F").arguments();
}

void CliTest::commandLinesAreTheWindows()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    testfiles::write(at("multi.gba"), "multirom");
    testfiles::write(at("game.sav"), "save");
    // A backup as whole as the one asked for: 128K, or 128 Mbit.
    const int size = args.first() == "backup-save" ? 131072 : args.first() == "backup-cart" ? 128 * 131072 : 0;
    const QString tool =
        testfiles::writeStandIn(at("tool"), {"args", size ? "fill " + QString::number(size) : "exit 0"});
    const Ran done = cli(QStringList{args.first(), "--tool", tool} + args.mid(1), m_dir->path());
    QCOMPARE(done.code, 0);
    QString wanted;
    for (const QString& argument : expected)
        wanted += "[" + QString(argument).replace("%F", args.last()) + "]";
    QCOMPARE(QString::fromUtf8(testfiles::read(tool + ".args")), wanted);
}

void CliTest::verifyReadsTheCartBack_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("pieces"); // how verify learns them: "record" (compile's), "files" or "scan"
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // {b}: the path of the second game
    QTest::newRow("clean") << ""
                           << "record" << 0 << "verified: 1,176,768 bytes match";
    // The loader's complement byte wrong: the flash repaired it on the cart, as it was asked to.
    QTest::newRow("a loader the flash repaired")
        << "repair"
        << "record" << 0 << "(the header's complement byte as the flash repaired it)";
    QTest::newRow("a byte flipped in the third piece, by the record")
        << "flip:114704"
        << "record" << 1 << "differs at 0x0001C010: game 2 'COMETCOURIER' ({b}) at +0x8EA0";
    // The second game's header does not check (common for homebrew): a scan joins it to the game before.
    QTest::newRow("a game whose header does not check, by the files")
        << "flip:114704 b-complement"
        << "files" << 1 << "differs at 0x0001C010: game 2 'COMETCOURIER' ({b}) at +0x8EA0";
    QTest::newRow("a game whose header does not check, by a scan")
        << "flip:114704 b-complement"
        << "scan" << 1 << "differs at 0x0001C010: game 1 'ALPHA' at +0x1A010 (a guess from the headers";
}

void CliTest::verifyReadsTheCartBack()
{
    QFETCH(QString, fault);
    QFETCH(QString, pieces);
    QFETCH(int, code);
    QFETCH(QString, said);
    layOut();
    const auto breakComplement = [this](const QString& file) {
        QByteArray image = testfiles::read(at(file));
        image[0xBD] = char(image[0xBD] + 1);
        testfiles::write(at(file), image);
    };
    if (fault == "repair") {
        breakComplement("loader.bin");
        fault.clear();
    }
    if (fault.endsWith(" b-complement")) {
        breakComplement("b.gba");
        fault.chop(13);
    }
    QCOMPARE(
        cli({"compile", "--loader", "loader.bin", "--output", "multi.gba", "a.gba", "b.gba", "c.gba"}, m_dir->path())
            .code,
        0);
    const QStringList environment{"OBSIM_CART=" + at("cart"), "OBSIM_FAULT=" + fault};
    QCOMPARE(cli({"flash", "--tool", "OB.exe", "multi.gba"}, m_dir->path(), environment).code, 0);
    QStringList verify{"verify", "--tool", "OB.exe", "--chip", "16", "multi.gba"};
    if (pieces != "record")
        QVERIFY(QFile::remove(at("multi.gba.layout.json")));
    if (pieces == "files")
        verify += QStringList{"--loader", "loader.bin", "a.gba", "b.gba", "c.gba"};
    const Ran verified = cli(verify, m_dir->path(), {"OBSIM_CART=" + at("cart")});
    QCOMPARE(verified.code, code);
    said.replace("{b}", at("b.gba"));
    QVERIFY2((code == 0 ? verified.out : verified.err).contains(said), qPrintable(verified.out + verified.err));
    // The cart read back went into a folder of its own, and it is gone.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).filter(".obsim-").size(), 0);
    // An empty multirom has nothing to compare: refused, never "0 bytes match".
    testfiles::write(at("empty.gba"), "");
    const Ran empty =
        cli({"verify", "--tool", "OB.exe", "--chip", "16", "empty.gba"}, m_dir->path(), {"OBSIM_CART=" + at("cart")});
    QCOMPARE(empty.code, 1);
    QVERIFY2(empty.err.contains("the multirom is empty, so there is nothing to compare"), qPrintable(empty.err));
}

void CliTest::signalsStopTheTool_data()
{
    QTest::addColumn<int>("signal"); // as a shell reports it: 128 + the signal's number
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+C") << 2 << 130 << "Ctrl+C was pressed";
#ifndef Q_OS_WIN
    QTest::newRow("SIGTERM") << int(SIGTERM) << 143 << "SIGTERM was received";
    QTest::newRow("the terminal closed") << int(SIGHUP) << 129 << "SIGHUP was received (the terminal was closed)";
#endif
}

void CliTest::signalsStopTheTool()
{
#ifdef Q_OS_WIN
    QSKIP("Ctrl+C reaches a console program through its console, which the tests do not have");
#else
    QFETCH(int, signal);
    QFETCH(int, code);
    QFETCH(QString, how);
    layOut();
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("OBSIM_CART", at("cart"));
    env.insert("OBSIM_FAULT", "hang");
    process.setProcessEnvironment(env);
    process.start(CLI_PATH, {"backup-cart", "--tool", "OB.exe", "--chip", "8", "cart.gba"});
    QByteArray seen;
    QTRY_VERIFY2_WITH_TIMEOUT((seen += process.readAllStandardOutput()).contains("Read"),
                              seen + process.readAllStandardError(), 20000);
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), code);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains("backup stopped: " + how));
    QVERIFY(!QFile::exists(at("cart.gba")));
#endif
}

namespace {

// The first bytes of an ELF program for machine (62 is x86-64, 183 ARM64).
QByteArray elfHead(char machine)
{
    QByteArray head("\x7F"
                    "ELF\x02\x01\x01",
                    7);
    head.append(QByteArray(11, '\0')).append(machine).append('\0');
    return head;
}

// A 32-bit Windows program: "MZ", its own header at 0x40, "PE", machine x86, a PE32 optional header.
QByteArray windowsHead()
{
    QByteArray head("MZ");
    head.append(QByteArray(0x3A, '\0')).append(QByteArray("\x40\0\0\0", 4));
    head.append(QByteArray("PE\0\0\x4C\x01", 6)).append(QByteArray(18, '\0')).append(QByteArray("\x0B\x01", 2));
    return head.append(QByteArray(64, '\0'));
}

} // namespace

void CliTest::doctorSaysWhatToDo_data()
{
    QTest::addColumn<QByteArray>("tool"); // the tool's bytes; "folder" for a folder
    QTest::addColumn<bool>("runnable");
    QTest::addColumn<QStringList>("system"); // files under the system's root: "path=contents"
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QString>("notSaid");
    const QString proc = "proc/sys/dev/parport/parport0/";
    const QStringList usable{"dev/parport0=", "proc/modules=parport_pc 1 0 - Live\nppdev 2 0 - Live\n",
                             proc + "base-addr=888\t1912\n", proc + "modes=PCSPP,TRISTATE,COMPAT,EPP,ECP\n",
                             proc + "devices/active=none\n"};
    const QByteArray linuxTool = elfHead(62);
    QTest::newRow("a Linux tool, a usable port with EPP")
        << linuxTool << true << usable << 0
        << QStringList{"ok       LPT1 is parport0 at 0x378 (modes PCSPP,TRISTATE,COMPAT,EPP,ECP)",
                       "ok       /dev/parport0 is there and may be read and written"}
        << "problem";
    QTest::newRow("no port the kernel knows")
        << linuxTool << true << QStringList{"proc/modules="} << 1
        << QStringList{"problem  the kernel knows no parport0 (LPT1): the computer has no such parallel port, or its "
                       "driver is not loaded (sudo modprobe parport_pc)"}
        << "ok       LPT1";
    QTest::newRow("no port, and a kernel without modules")
        << linuxTool << true << QStringList{"dev/null="} << 1
        << QStringList{"problem  the kernel knows no parport0 (LPT1): the computer has no such parallel port"}
        << "modprobe";
    QTest::newRow("a port without EPP that the printer driver holds, without ppdev")
        << linuxTool << true
        << QStringList{"proc/modules=lp 1 0 - Live\n", proc + "base-addr=53264\n", proc + "modes=PCSPP,TRISTATE\n",
                       proc + "devices/active=lp\n"}
        << 1
        << QStringList{"LPT1 is parport0 at 0xd010", "parport0 has no EPP mode",
                       "the printer driver lp holds parport0: unload it",
                       "there is no /dev/parport0, which the ppdev driver makes: load it (sudo modprobe ppdev)"}
        << "";
    QTest::newRow("a Windows tool")
        << windowsHead() << true << usable << 1
        << QStringList{"is a 32-bit Windows program (x86): Wine runs it on Linux but cannot "
                       "give it the parallel port",
                       "Wine has no 32-bit part, so this 32-bit tool cannot start"}
        << "ok       the tool OB.exe";
    QTest::newRow("a DOS tool") << QByteArray("MZ").append(QByteArray(62, '\0')) << true << usable << 1
                                << QStringList{"is a DOS program: on Linux Wine hands it to DOSBox"} << "";
    QTest::newRow("a script whose interpreter is missing")
        << QByteArray("#!/nonexistent/vellmore-sh\necho\n") << true << usable << 1
        << QStringList{"is a script for /nonexistent/vellmore-sh, and there is no program /nonexistent/vellmore-sh"}
        << "";
    QTest::newRow("a script with Windows line ends")
        << QByteArray("#!/bin/sh\r\necho\r\n") << true << usable << 1 << QStringList{"ends in CR LF"} << "";
    QTest::newRow("a script that runs") << QByteArray("#!/bin/sh\necho\n") << true << usable << 0
                                        << QStringList{"is a script for /bin/sh, which is there"} << "problem";
    QTest::newRow("a program for another processor")
        << elfHead(char(183)) << true << usable << 1
        << QStringList{"is a 64-bit Linux program (ARM64), which this computer cannot run"} << "";
    QTest::newRow("a tool without its execute bit")
        << linuxTool << false << usable << 1 << QStringList{"may not be run: make it executable"} << "";
    QTest::newRow("a folder") << QByteArray("folder") << true << usable << 1 << QStringList{"is a folder, not the tool"}
                              << "ok       the tool";
    QTest::newRow("text") << QByteArray("not a program\n") << true << usable << 1 << QStringList{"is not a program"}
                          << "ok       the tool";
}

void CliTest::doctorSaysWhatToDo()
{
#ifdef Q_OS_WIN
    QSKIP("the system's own list of ports is read on Windows: no folder stands in for it");
#else
    QFETCH(QByteArray, tool);
    QFETCH(bool, runnable);
    QFETCH(QStringList, system);
    QFETCH(int, code);
    QFETCH(QStringList, said);
    QFETCH(QString, notSaid);
    for (const QString& file : system) {
        const QString path = at("root/" + file.section('=', 0, 0));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        testfiles::write(path, file.section('=', 1).toUtf8());
    }
    if (tool == "folder") {
        QVERIFY(QDir().mkpath(at("OB.exe")));
    } else {
        testfiles::write(at("OB.exe"), tool);
        QFile(at("OB.exe"))
            .setPermissions(runnable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                     : QFile::ReadOwner | QFile::WriteOwner);
    }
    const Ran ran = cli({"doctor", "--tool", "OB.exe"}, m_dir->path(), {"VELLMORE_SYSTEM_ROOT=" + at("root")});
    QCOMPARE(ran.code, code);
    for (const QString& words : said)
        QVERIFY2(ran.out.contains(words), qPrintable(ran.out));
    QVERIFY2(notSaid.isEmpty() || !ran.out.contains(notSaid), qPrintable(ran.out));
#endif
}

void CliTest::doctorOnWindows_data()
{
    QTest::addColumn<QByteArray>("tool");
    QTest::addColumn<bool>("listed"); // the registry lists \Device\Parallel0 as LPT1
    QTest::addColumn<QStringList>("said");
    QTest::newRow("a listed port, a Windows tool") << windowsHead() << true
                                                   << QStringList{"ok       Windows lists LPT1 (\\Device\\Parallel0)",
                                                                  "is a 32-bit Windows program (x86), which runs here"};
    QTest::newRow("no port, a DOS tool") << QByteArray("MZ").append(QByteArray(62, '\0')) << false
                                         << QStringList{"problem  Windows lists no parallel port, not LPT1",
                                                        "is a DOS program, and "};
    QTest::newRow("a Linux tool") << elfHead(62) << true << QStringList{"which Windows cannot run"};
}

void CliTest::doctorOnWindows()
{
#ifndef Q_OS_WIN
    QSKIP("the registry's list of ports is Windows' own");
#else
    QFETCH(QByteArray, tool);
    QFETCH(bool, listed);
    QFETCH(QStringList, said);
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", 0, nullptr, 0, KEY_SET_VALUE,
                             nullptr, &key, nullptr),
             LONG(ERROR_SUCCESS));
    const wchar_t device[] = L"\\DosDevices\\LPT1";
    if (listed)
        RegSetValueExW(key, L"\\Device\\Parallel0", 0, REG_SZ, reinterpret_cast<const BYTE*>(device), sizeof device);
    else
        RegDeleteValueW(key, L"\\Device\\Parallel0");
    testfiles::write(at("OB.exe"), tool);
    const Ran ran = cli({"doctor", "--tool", "OB.exe"}, m_dir->path());
    RegDeleteValueW(key, L"\\Device\\Parallel0");
    RegCloseKey(key);
    for (const QString& words : said)
        QVERIFY2(ran.out.contains(words), qPrintable(ran.out));
#endif
}

// A name no ANSI code page holds comes out whole, as UTF-8 JSON; Windows' shells leave "*.gba" to the
// program, which expands it as a POSIX shell would.
void CliTest::namesWholeAndWildcardsExpanded()
{
#ifndef Q_OS_WIN
    QSKIP("the shell expands wildcards outside Windows");
#else
    layOut();
    const QString name = QString::fromUtf8("\xC5\x81\xC3\xB3\x64\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC.gba"); // Łódź 日本
    testfiles::write(at(name), romimage::makeGameImage("LODZ", "LODZ", 4096));
    const Ran ran = cli({"info", "--json", "*.gba"}, m_dir->path());
    QCOMPARE(ran.code, 0);
    QJsonParseError error;
    const QJsonObject result = QJsonDocument::fromJson(ran.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QStringList paths;
    for (const QJsonValue game : result["games"].toArray())
        paths.append(game["path"].toString());
    QCOMPARE(paths, QStringList({"a.gba", "b.gba", "c.gba", name}));
#endif
}

// Help of any kind prints help and runs nothing; a backup replaces a file only with --force, as the
// window asks first.
void CliTest::helpRunsNothingAndBackupsAskFirst_data()
{
    QTest::addColumn<QStringList>("args"); // %T: a tool that records that it ran
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("ran");
    QTest::newRow("--help-all") << QStringList{"flash", "--help-all", "--tool", "%T", "multi.gba"} << 0
                                << "Usage: vellmore-cli flash" << false;
    QTest::newRow("help COMMAND") << QStringList{"help", "backup-cart"} << 0 << "Usage: vellmore-cli backup-cart"
                                  << false;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "vellmore-cli 0." << false;
    QTest::newRow("a backup over a file") << QStringList{"backup-save", "--tool", "%T", "game.sav"} << 1
                                          << "game.sav exists: give --force to replace it" << false;
    QTest::newRow("a backup over a file, forced") << QStringList{"backup-save", "--force", "--tool", "%T", "game.sav"}
                                                  << 0 << "32K save backed up to game.sav" << true;
}

void CliTest::helpRunsNothingAndBackupsAskFirst()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, said);
    QFETCH(bool, ran);
    testfiles::write(at("game.sav"), "an older backup");
    const QString tool = testfiles::writeStandIn(at("tool"), {"args", "fill 32768"});
    const Ran done = cli(args.replaceInStrings("%T", tool), m_dir->path());
    QCOMPARE(done.code, code);
    QVERIFY2((done.out + done.err).contains(said), qPrintable(done.out + done.err));
    QCOMPARE(QFile::exists(tool + ".args"), ran);
}

// Bytes that are not UTF-8 (Latin-1's é) would reach the core as another name ("there is no such
// file"): refused, naming them.
void CliTest::aNameThatIsNotTextIsRefusedByName()
{
#ifdef Q_OS_WIN
    QSKIP("Windows hands names over as text");
#else
    testfiles::write(at("caf\xc3\xa9.gba"), "a file with a name that is text");
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    // Through the shell: Qt would turn the bytes into text before they reached the program.
    process.start("/bin/sh", {"-c", "exec \"$0\" info \"$(printf 'caf\\351.gba')\"", CLI_PATH});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY2(process.readAllStandardError().contains("caf\xe9.gba is not valid text in this system's encoding"),
             "refused by its name");
#endif
}

void CliTest::badArgumentsExit2_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList{};
    QTest::newRow("an unknown command") << QStringList{"frob"};
    QTest::newRow("an unknown option") << QStringList{"info", "--frob", "a.gba"};
    QTest::newRow("info without a game") << QStringList{"info"};
    QTest::newRow("compile without a loader") << QStringList{"compile", "--output", "m.gba", "a.gba"};
    QTest::newRow("a chip size that is none") << QStringList{"backup-cart", "--tool", "t", "--chip", "48", "c.gba"};
    QTest::newRow("a chip of 0 Mbit") << QStringList{"compile", "--loader", "l.bin", "--output",
                                                     "m.gba",   "--chip",   "0",     "a.gba"};
    QTest::newRow("a port beyond 4") << QStringList{"flash", "--tool", "t", "--port", "5", "m.gba"};
    QTest::newRow("a save size that is none") << QStringList{"backup-save", "--tool", "t", "--size", "33K", "s.sav"};
    QTest::newRow("a bank beyond 4") << QStringList{"restore-save", "--tool", "t", "--bank", "0", "s.sav"};
    QTest::newRow("no tool") << QStringList{"verify", "--chip", "8", "m.gba"};
}

void CliTest::badArgumentsExit2()
{
    QFETCH(QStringList, args);
    const Ran ran = cli(args, m_dir->path());
    QCOMPARE(ran.code, 2);
    QVERIFY2(ran.err.contains("usage", Qt::CaseInsensitive), qPrintable(ran.err));
}

void CliTest::layoutRecordMustFitTheMultirom_data()
{
    QTest::addColumn<QString>("change"); // to the record, or the multirom, after compile wrote it
    QTest::addColumn<bool>("taken");
    QTest::newRow("as written") << "" << true;
    QTest::newRow("the multirom written again since") << "multirom" << false;
    QTest::newRow("a gap between two pieces") << "gap" << false;
    QTest::newRow("pieces that stop short of the end") << "short" << false;
    QTest::newRow("another layout version") << "schema" << false;
}

void CliTest::layoutRecordMustFitTheMultirom()
{
    QFETCH(QString, change);
    QFETCH(bool, taken);
    testfiles::write(at("multi.gba"), QByteArray(0x300, 'm'));
    QVERIFY(!multirom::writeLayoutRecord(at("multi.gba"),
                                         {{0, 0, 0x100, "LOADER", "l.bin"}, {1, 0x100, 0x200, "ALPHA", "a.gba"}}));
    QString record = QString::fromUtf8(testfiles::read(at("multi.gba.layout.json")));
    if (change == "multirom")
        testfiles::write(at("multi.gba"), QByteArray(0x301, 'm'));
    else if (change == "gap")
        record.replace("\"offset\": 256", "\"offset\": 257");
    else if (change == "short")
        record.replace("\"size\": 512", "\"size\": 511");
    else if (change == "schema")
        record.replace("\"schema\": 1", "\"schema\": 2");
    testfiles::write(at("multi.gba.layout.json"), record.toUtf8());
    const auto pieces = multirom::readLayoutRecord(at("multi.gba"));
    QCOMPARE(pieces.has_value(), taken);
    if (taken)
        QCOMPARE(multirom::placeOf(*pieces, 0x2FF), QString("game 1 'ALPHA' (a.gba) at +0x1FF"));
}

void CliTest::standardOutputIsThatFileOnly_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("code");
    QTest::newRow("the file standard output goes to") << "log.txt" << 2;
    QTest::newRow("another file beside it") << "multi.gba" << 0;
}

// Standard output sent to a file: that file is refused as the multirom, and only that one.
void CliTest::standardOutputIsThatFileOnly()
{
    QFETCH(QString, output);
    QFETCH(int, code);
    layOut();
    testfiles::write(at("multi.gba"), "an older multirom");
    QProcess process;
    process.setWorkingDirectory(m_dir->path());
    process.setStandardOutputFile(at("log.txt"));
    process.start(CLI_PATH, {"compile", "--loader", "loader.bin", "--output", output, "a.gba"});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), code);
}

void CliTest::jsonIsOneObjectOnEveryPath_data()
{
    QTest::addColumn<QStringList>("args"); // --json is added
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message"); // a part of the object's message
    QTest::newRow("an unknown option") << QStringList{"info", "--frob", "a.gba"} << 2 << "Unknown option";
    QTest::newRow("no such command") << QStringList{"frob"} << 2 << "no such command: frob";
    QTest::newRow("verify of a file that is not there")
        << QStringList{"verify", "--tool", "OB.exe", "--chip", "8", "gone.gba"} << 1 << "gone.gba";
    QTest::newRow("a tool that is not there")
        << QStringList{"flash", "--tool", "nowhere/OB.exe", "multi.gba"} << 1 << "there is no tool at nowhere/OB.exe";
    QTest::newRow("a compile") << QStringList{"compile", "--loader", "loader.bin", "--output", "multi.gba", "a.gba"}
                               << 0 << "Compiled to ";
    QTest::newRow("info of a title with a byte outside ASCII") << QStringList{"info", "e.gba"} << 0 << "every header";
    QTest::newRow("verify given games that do not add up to the multirom")
        << QStringList{"verify", "--tool", "OB.exe", "--chip", "8", "c.gba", "--loader", "loader.bin", "a.gba"} << 1
        << "the loader and games given add up to 78,192 bytes, but c.gba holds 50,000";
#ifndef Q_OS_WIN
    QTest::newRow("a backup into standard output")
        << QStringList{"backup-cart", "--tool", "OB.exe", "--chip", "8", "/dev/stdout"} << 2
        << "/dev/stdout is where this command's messages go";
#endif
}

void CliTest::jsonIsOneObjectOnEveryPath()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    layOut();
    QByteArray accented = romimage::makeGameImage("CAFE", "CAFE", 4096);
    accented[0xA4] = char(0xE9);
    accented[0xBD] = char(multirom::headerComplement(accented.constData()));
    testfiles::write(at("e.gba"), accented);
    const Ran ran = cli(args << "--json", m_dir->path());
    QCOMPARE(ran.code, code);
    QVERIFY2(ran.out.endsWith('\n') && ran.out.count('\n') == 1, qPrintable(ran.out));
    QJsonParseError error;
    const QJsonObject result = QJsonDocument::fromJson(ran.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(result["schema"].toInt(), 1);
    QCOMPARE(result["ok"].toBool(), code == 0);
    QCOMPARE(result["exitCode"].toInt(), code);
    const QString said = result["message"].toString();
    QVERIFY2(said.contains(message) && !said.contains('\r') && !said.contains("for fun"), qPrintable(said));
    for (const QJsonValue piece : result["layout"].toArray())
        QVERIFY(!piece.toObject()["path"].toString().isEmpty());
    if (args.first() == "info" && code == 0)
        QCOMPARE(result["games"].toArray().first().toObject()["title"].toString(), QString("CAFE\\xE9"));
}

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
