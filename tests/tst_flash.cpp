// "Flash" and "Erase?" end to end, against the cart simulator.
#include "RomImage.h"
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/GameListBox.h"
#include "controls/PortComboBox.h"
#include "mainwindow/MainWindow.h"
#include "savewindow/SaveWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

class FlashTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void checksInOrder_data();
    void checksInOrder();
    void compileThenFlashWritesTheCart_data();
    void compileThenFlashWritesTheCart();
    void failuresAreNeverReportedAsFlashed_data();
    void failuresAreNeverReportedAsFlashed();
    void portAndWaitStepReachTheTool();
    void everyOperationAgainstTheSimulatedCart();
    void erase_data();
    void erase();

private:
    QString recordingTool();

    QByteArray m_multirom;
};

void FlashTest::init()
{
    createFolder();
    // A loader whose header check is wrong, so that repair shows on the cart.
    QByteArray loader = romimage::makeGameImage("LOADER", "LDR0", 8192);
    loader[romimage::complementOffset] = char(romimage::headerComplement(loader) ^ 0x5A);
    const QByteArray game = romimage::makeGameImage("GAME", "GAME", 70000);
    testfiles::write(at("gbaldr32.bin"), loader);
    testfiles::write(at("game one.gba"), game);
    m_multirom = loader + game;
    QVERIFY(QFile::copy(OBSIM_PATH, at("OB.exe")));
    qputenv("OBSIM_CART", QFile::encodeName(at("cart")));
    startWindow();
}

void FlashTest::cleanup()
{
    qunsetenv("OBSIM_CART");
    finish();
}

QString FlashTest::recordingTool()
{
    return testfiles::writeStandIn(at("recorder"), {"args"});
}

void FlashTest::checksInOrder_data()
{
    QTest::addColumn<bool>("output");
    QTest::addColumn<bool>("tool");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("red");

    QTest::newRow("both missing") << false << false << "you have to select the multi.gba to flash"
                                  << QStringList{"Label3"};
    QTest::newRow("tool missing") << true << false << "please select your Orbick location"
                                  << QStringList{"Label4", "gotorbick"};
}

void FlashTest::checksInOrder()
{
    QFETCH(bool, output);
    QFETCH(bool, tool);
    QFETCH(QString, message);
    QFETCH(QStringList, red);
    if (!output)
        control<QLineEdit>(m_window, "multitxt")->clear();
    if (!tool)
        control<QLineEdit>(m_window, "orbicklocation")->clear();
    control<QLineEdit>(m_window, "waitstep")->clear();
    m_window->setPathsFrozen(true);
    QCOMPARE(click(control<QPushButton>(m_window, "flashbtn")), QStringList{message});
    for (const char* name : {"Label3", "Label4", "gotorbick"}) {
        const QColor expected = red.contains(name) ? QColor(255, 0, 0) : QColor(0, 0, 0);
        QCOMPARE(colours::textColour(m_window->findChild<QLabel*>(name)), expected);
    }
    QVERIFY(frozen());
    QCOMPARE(control<QLineEdit>(m_window, "waitstep")->text(), QString());
}

void FlashTest::compileThenFlashWritesTheCart_data()
{
    QTest::addColumn<bool>("repair");
    QTest::newRow("header repaired") << true;
    QTest::newRow("header left alone") << false;
}

void FlashTest::compileThenFlashWritesTheCart()
{
    QFETCH(bool, repair);
    control<GameListBox>(m_window, "listdialog")->addItem(at("game one.gba"));
    control<QCheckBox>(m_window, "header")->setChecked(repair);
    QCOMPARE(click(control<QPushButton>(m_window, "compilebtn")).value(0).left(12), QString("Compiled to "));
    QVERIFY(frozen());
    QCOMPARE(testfiles::read(at("multi.gba")), m_multirom);

    QCOMPARE(click(control<QPushButton>(m_window, "flashbtn")), QStringList{"Flashed!"});
    QVERIFY(!frozen());
    QCOMPARE(colours::backgroundColour(control<QLineEdit>(m_window, "multitxt")),
             colours::backgroundColourFor(colours::windowBackground));

    QByteArray expected = m_multirom;
    if (repair)
        romimage::repairHeader(expected);
    const QByteArray onCart = testfiles::read(at("cart/flash.bin"));
    QCOMPARE(onCart.size(), expected.size());
    QVERIFY(onCart == expected);
    QCOMPARE(onCart[romimage::complementOffset] == m_multirom[romimage::complementOffset], !repair);
    QCOMPARE(testfiles::read(at("multi.gba")), m_multirom);
}

void FlashTest::failuresAreNeverReportedAsFlashed_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("message");

    auto row = [](const char* name, const char* arrangement, const QString& message) {
        QTest::newRow(name) << QString(arrangement) << message;
    };
    // Why a tool could not be started, in the system's words.
    row("tool missing", "tool missing", "could not start %T/no tool/OB.exe: %R");
#ifdef Q_OS_WIN
    row("tool ended for a fault", "killed", "flash failed: crashed with status 0xC0000005");
#else
    const QString denied = QString::fromLocal8Bit(strerror(EACCES));
    const QString format = QString::fromLocal8Bit(strerror(ENOEXEC));
    row("tool is a folder", "folder", "could not start %T/tool: " + denied);
    row("tool without execute permission", "not executable", "could not start %T/tool: " + denied);
    row("script without a #! line", "no interpreter", "could not start %T/tool: " + format);
    row("empty file", "empty", "could not start %T/tool: " + format);
    row("a Windows program", "windows",
        "could not start %T/tool: " + format +
            " (it is a Windows program; to run Windows programs here, install wine and wine-binfmt)");
    row("tool killed", "killed", "flash failed: killed by signal 9");
#endif
    row("no cart on that port", "port 2", "flash failed: exit code 5: obsim: no cart found on LPT2");
    row("image too large", "too large",
        "flash failed: exit code 4: obsim: the image holds 33554433 bytes, more than the cart's 33554432");
    row("nothing compiled yet", "no multirom", "flash failed: exit code 3: obsim: cannot open the image %T/multi.gba");
}

void FlashTest::failuresAreNeverReportedAsFlashed()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, message);
    testfiles::write(at("multi.gba"), m_multirom);
    const QString tool = at("tool");
    const QByteArray toolBytes = arrangement == "no interpreter" ? "echo flashed\n"
                                 : arrangement == "windows"      ? "MZ\x90\0\3\0\0\0"
                                                                 : "#!/bin/sh\nexit 0\n";
    if (arrangement == "tool missing") {
        control<QLineEdit>(m_window, "orbicklocation")->setText(at("no tool/OB.exe"));
    } else if (arrangement == "folder") {
        QVERIFY(QDir(m_dir->path()).mkdir("tool"));
        control<QLineEdit>(m_window, "orbicklocation")->setText(tool);
    } else if (arrangement == "not executable" || arrangement == "no interpreter" || arrangement == "empty" ||
               arrangement == "windows") {
        testfiles::write(tool, arrangement == "empty" ? QByteArray() : toolBytes);
        QFile::setPermissions(tool, arrangement == "not executable" ? QFile::ReadOwner | QFile::WriteOwner
                                                                    : QFile::ReadOwner | QFile::ExeOwner);
        control<QLineEdit>(m_window, "orbicklocation")->setText(tool);
    } else if (arrangement == "port 2") {
        control<PortComboBox>(m_window, "sizelist")->setCurrentIndex(1);
    } else if (arrangement == "too large") {
        QFile huge(at("multi.gba"));
        QVERIFY(huge.open(QIODevice::ReadWrite));
        QVERIFY(huge.resize(256 * 131072 + 1));
    } else if (arrangement == "no multirom") {
        QVERIFY(QFile::remove(at("multi.gba")));
    } else if (arrangement == "killed") {
        control<QLineEdit>(m_window, "orbicklocation")->setText(testfiles::writeStandIn(at("killer"), {"crash"}));
    }
    m_window->setPathsFrozen(true);
    const QStringList told = click(control<QPushButton>(m_window, "flashbtn"));
    QCOMPARE(told.size(), 1);
    const QString expected = testfiles::native(message.replace("%T", m_dir->path()));
    QVERIFY2(testfiles::saysWithReason(told.first(), expected, testfiles::whyNotStarted(at("no tool/OB.exe"))),
             qPrintable(told.first()));
    QVERIFY2(!frozen(), "a flash that ran ends the frozen state, failed or not, so another tool can be chosen");
    QVERIFY(!QFile::exists(at("cart/flash.bin")));
}

void FlashTest::portAndWaitStepReachTheTool()
{
    const QString tool = recordingTool();
    control<QLineEdit>(m_window, "orbicklocation")->setText(tool);
    control<QLineEdit>(m_window, "multitxt")->setText(at("my games/multi.gba"));
    control<QLineEdit>(m_window, "waitstep")->clear();
    // Typed text does not pick an entry: the port stays 1.
    control<PortComboBox>(m_window, "sizelist")->lineEdit()->selectAll();
    QTest::keyClicks(control<PortComboBox>(m_window, "sizelist")->lineEdit(), "LPT3");
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->currentText(), QString("LPT3"));
    QCOMPARE(click(control<QPushButton>(m_window, "flashbtn")), QStringList{"Flashed!"});
    QCOMPARE(control<QLineEdit>(m_window, "waitstep")->text(), QString("0"));
    QCOMPARE(testfiles::read(tool + ".args"), ("[-2][-w][0][-l][1][-p][" + at("my games/multi.gba") + "]").toUtf8());

    // An entry picked from the list counts; so do EPP, header repair and a wait step with a blank.
    control<PortComboBox>(m_window, "sizelist")->setCurrentIndex(3);
    emit control<PortComboBox>(m_window, "sizelist")->activated(3);
    control<QCheckBox>(m_window, "eppcheck")->setChecked(false);
    control<QCheckBox>(m_window, "header")->setChecked(false);
    control<QLineEdit>(m_window, "waitstep")->setText(" 5");
    QCOMPARE(click(control<QPushButton>(m_window, "flashbtn")), QStringList{"Flashed!"});
    QCOMPARE(testfiles::read(tool + ".args"), ("[-n][-w][ 5][-l][4][-p][" + at("my games/multi.gba") + "]").toUtf8());
}

void FlashTest::everyOperationAgainstTheSimulatedCart()
{
    // Flash a compiled multirom.
    control<GameListBox>(m_window, "listdialog")->addItem(at("game one.gba"));
    QCOMPARE(click(control<QPushButton>(m_window, "compilebtn")).value(0).left(12), QString("Compiled to "));
    QCOMPARE(click(control<QPushButton>(m_window, "flashbtn")), QStringList{"Flashed!"});

    SaveWindow save(m_services);
    save.takeMainToolPath(control<QLineEdit>(m_window, "orbicklocation")->text());
    save.show();
    QCOMPARE(control<QLineEdit>(&save, "orbicklocation")->text(), at("OB.exe"));
    auto press = [&](QPushButton* button) {
        return answerMessages([&] { QTest::mouseClick(button, Qt::LeftButton); });
    };

    // Back up the whole cart at 256 Mbit: the multirom with its header repaired, then erased flash.
    const QString cart = at("backups/cart.gba");
    QVERIFY(QDir(m_dir->path()).mkdir("backups"));
    control<QLineEdit>(&save, "cartname")->setText(cart);
    control<QRadioButton>(&save, "chip6")->setChecked(true);
    QCOMPARE(press(control<QPushButton>(&save, "backupcart")), QStringList{"256mbit game backed up to " + cart});
    const QByteArray image = testfiles::read(cart);
    QCOMPARE(image.size(), 256 * 131072);
    QByteArray repaired = m_multirom;
    romimage::repairHeader(repaired);
    QVERIFY(image.startsWith(repaired));
    QCOMPARE(image.at(repaired.size()), char(0xFF));

    // Back up bank 2, restore it into bank 4, back up bank 4: the bytes match.
    const QByteArray saved = testfiles::pattern(256 * 1024, 9);
    testfiles::write(at("cart/bank2.sav"), saved);
    control<QRadioButton>(&save, "bank2")->setChecked(true);
    control<QRadioButton>(&save, "size4")->setChecked(true);
    control<QLineEdit>(&save, "outputxt")->setText(at("backups/bank 2.sav"));
    QCOMPARE(press(control<QPushButton>(&save, "backupbtn")),
             QStringList{"256K save backed up to " + at("backups/bank 2.sav")});
    QCOMPARE(testfiles::read(at("backups/bank 2.sav")), saved);
    control<QLineEdit>(&save, "restoretxt")->setText(at("backups/bank 2.sav"));
    control<QRadioButton>(&save, "rbank4")->setChecked(true);
    QCOMPARE(press(control<QPushButton>(&save, "restore")), QStringList{"save restored!"});
    control<QRadioButton>(&save, "bank4")->setChecked(true);
    control<QLineEdit>(&save, "outputxt")->setText(at("backups/bank 4.sav"));
    QCOMPARE(press(control<QPushButton>(&save, "backupbtn")),
             QStringList{"256K save backed up to " + at("backups/bank 4.sav")});
    QCOMPARE(testfiles::read(at("backups/bank 4.sav")), saved);

    // A failing tool is never a success: no cart on LPT1 now.
    testfiles::write(at("cart/port"), "2");
    control<QLineEdit>(&save, "waitstep")->clear();
    const QStringList failed = press(control<QPushButton>(&save, "backupcart"));
    QCOMPARE(failed, QStringList{"backup failed: exit code 5: obsim: no cart found on LPT1"});
    QCOMPARE(control<QLineEdit>(&save, "waitstep")->text(), QString("0"));
}

void FlashTest::erase_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("reason"); // empty: no message; %D: the system's reason for a delete that fails

    QTest::newRow("present") << "present"
                             << "";
    QTest::newRow("already deleted") << "deleted"
                                     << "";
    QTest::newRow("a folder where the file was") << "folder"
                                                 << "%D";
    // Permission bits do not stop root, nor a folder's on Windows; the folder row covers a delete that fails there.
    if (!testfiles::runningAsRoot() && QSysInfo::productType() != "windows")
        QTest::newRow("read-only folder") << "read-only" << QString::fromLocal8Bit(strerror(EACCES));
}

void FlashTest::erase()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, reason);
    const QString multirom = at("multi.gba");
    testfiles::write(multirom, m_multirom);
    m_window->refreshBrowser();
    m_window->updateMultiromIndicator(multirom);
    QVERIFY(control<QPushButton>(m_window, "multierase")->isVisible());
    if (arrangement == "deleted") {
        QVERIFY(QFile::remove(multirom));
    } else if (arrangement == "folder") {
        QVERIFY(QFile::remove(multirom));
        testfiles::write(multirom + "/inside", "x");
    } else if (arrangement == "read-only") {
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner);
    }

    const QStringList messages = click(control<QPushButton>(m_window, "multierase"));
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (reason.isEmpty()) {
        QVERIFY(messages.isEmpty());
        QVERIFY(!QFile::exists(multirom));
        QVERIFY(!control<QPushButton>(m_window, "multierase")->isVisible() &&
                !control<QLabel>(m_window, "multiexist")->isVisible());
        QVERIFY(control<FileList>(m_window, "filedialog")->rowOf("multi.gba") < 0);
    } else {
        QCOMPARE(messages, QStringList{"cannot delete " + multirom + ": " +
                                       QString(reason).replace("%D", testfiles::whyNotDeleted(multirom))});
        // The indicator shows what is really there.
        const bool stillAFile = arrangement == "read-only";
        QCOMPARE(control<QPushButton>(m_window, "multierase")->isVisible(), stillAFile);
        QCOMPARE(control<QLabel>(m_window, "multiexist")->isVisible(), stillAFile);
    }
}

QTEST_MAIN(FlashTest)
#include "tst_flash.moc"
