// Vellmore against hostile names, unwritable places, empty files and tools that fail half-way:
// every case ends in a clear message or the right files, nothing lost, and the windows go on working.
#include "RomImage.h"
#include "controls/FileList.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "multirom/CompilePlan.h"
#include "platform/Platform.h"
#include "savewindow/SaveWindow.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class FaultsTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hostileNames_data();
    void hostileNames();
    void unwritablePlaces_data();
    void unwritablePlaces();
    void emptyLoaderAndGame();
    void backupThatFailsHalfWay_data();
    void backupThatFailsHalfWay();

private:
    QStringList press(QPushButton* button) { return click(button); }
    void useTool(SaveWindow& save, const QString& tool);

    std::unique_ptr<SaveWindow> m_save;
};

void FaultsTest::init()
{
    createFolder();
    qputenv("OBSIM_CART", QFile::encodeName(at("cart")));
    startWindow();
    m_save.reset(new SaveWindow(m_services));
    m_save->show();
}

void FaultsTest::cleanup()
{
    m_save.reset();
    qunsetenv("OBSIM_CART");
    finish();
}

void FaultsTest::useTool(SaveWindow& save, const QString& tool)
{
    control<QLineEdit>(m_window, "orbicklocation")->setText(tool);
    control<QLineEdit>(&save, "orbicklocation")->setText(tool);
}

void FaultsTest::hostileNames_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"ünïcödé", "日本語のゲーム", "two  blanks", "100%", "a&b", "bang!", "caret^", "semi;colon", "dollar$HOME",
          "back`tick`", "(parens)", "it's", " leading", "%PATH%", "we%PATH%ird & co", "Œuvre", "Łódź Spiele/Łódź"})
        QTest::newRow(name) << QString::fromUtf8(name);
#ifndef Q_OS_WIN // names Windows' file systems cannot hold, and a path longer than Windows takes
    for (const char* name : {"what?", "star*", "trailing ", "say \"hi\""})
        QTest::newRow(name) << QString::fromUtf8(name);
    QTest::newRow("a path of more than 1,000 characters") << QString(220, 'p') + "/" + QString(220, 'q') + "/" +
                                                                 QString(220, 'r') + "/" + QString(220, 's') + "/" +
                                                                 QString(200, 't');
#endif
}

void FaultsTest::hostileNames()
{
    QFETCH(QString, name);
    const QString folder = at(name);
    const QChar sep = QDir::separator();
    QVERIFY(QDir().mkpath(folder));
    const QByteArray loader = romimage::makeGameImage("LOADER", "LDR0", 4096);
    const QByteArray game = romimage::makeGameImage("GAME", "GAME", 20000);
    testfiles::write(folder + sep + "" + name.section('/', -1) + ".bin", loader);
    testfiles::write(folder + sep + "" + name.section('/', -1) + ".gba", game);
    const QString tool = folder + sep + "OB " + name.section('/', -1) + ".exe";
    QVERIFY(QFile::copy(OBSIM_PATH, tool));
    useTool(*m_save, tool);
    control<QLineEdit>(m_window, "ldrtext")->setText(folder + sep + "" + name.section('/', -1) + ".bin");
    control<QLineEdit>(m_window, "multitxt")->setText(folder + sep + "multi.gba");
    control<GameListBox>(m_window, "listdialog")->addItem(folder + sep + "" + name.section('/', -1) + ".gba");
    // flash.bat is written and run there: no folder name may reach the command interpreter's command line.
    control<FileList>(m_window, "filedialog")->setPath(folder);

    const QStringList compiled = press(control<QPushButton>(m_window, "compilebtn"));
    const bool unquotable = name.contains('"');
    // A letter the batch file's code page lacks would name another file: such a path goes by its short name.
    const QString loaderPath = control<QLineEdit>(m_window, "ldrtext")->text();
    const bool unencodable = !multirom::batchForm(loaderPath);
#ifdef Q_OS_WIN
    QVERIFY2(!unencodable, "the volume keeps short names: every name that Windows holds compiles");
#endif
    if (unquotable || unencodable) {
        // A double quote would end the batch file's quoting: refused, naming the path.
        QCOMPARE(compiled,
                 QStringList{unquotable ? "a path with a double quote or a line break cannot be used: " + loaderPath
                                        : multirom::noBatchFormMessage(loaderPath, loaderPath)});
        QVERIFY(!QFile::exists(folder + sep + "multi.gba"));
        testfiles::write(folder + sep + "multi.gba", loader + game); // for the cart operations below
    } else {
        QCOMPARE(compiled, QStringList{"Compiled to " + folder + sep + "multi.gba\n\npress Flash for fun!"});
        QCOMPARE(testfiles::read(folder + sep + "multi.gba"), loader + game);
    }
    QCOMPARE(press(control<QPushButton>(m_window, "flashbtn")), QStringList{"Flashed!"});

    const QString saveFile = folder + sep + "" + name.section('/', -1) + ".sav";
    control<QLineEdit>(m_save, "outputxt")->setText(saveFile);
    QCOMPARE(press(control<QPushButton>(m_save, "backupbtn")), QStringList{"32K save backed up to " + saveFile});
    QCOMPARE(QFileInfo(saveFile).size(), 32 * 1024);
    control<QLineEdit>(m_save, "restoretxt")->setText(saveFile);
    QCOMPARE(press(control<QPushButton>(m_save, "restore")), QStringList{"save restored!"});
    const QString cartFile = folder + sep + "" + name.section('/', -1) + " cart.gba";
    control<QLineEdit>(m_save, "cartname")->setText(cartFile);
    control<QRadioButton>(m_save, "chip1")->setChecked(true);
    QCOMPARE(press(control<QPushButton>(m_save, "backupcart")), QStringList{"8mbit game backed up to " + cartFile});
    QVERIFY(testfiles::read(cartFile).startsWith(loader.mid(0, 0xA0)));
}

void FaultsTest::unwritablePlaces_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message"); // %P: the path that cannot be written
    // The folder is named: it is what cannot be written.
#ifdef Q_OS_WIN
    QTest::newRow("compile") << "compile"
                             << "compile failed: cannot write %P: ";
#else
    QTest::newRow("compile") << "compile"
                             << "compile failed: cannot make a file in the folder %F: Not a directory";
#endif
    // Said before the tool runs, in Vellmore's words.
    QTest::newRow("save backup") << "backup"
                                 << "the backup cannot be written at %P: ";
    QTest::newRow("cart backup") << "cart"
                                 << "the backup cannot be written at %P: ";
}

void FaultsTest::unwritablePlaces()
{
    QFETCH(QString, operation);
    QFETCH(QString, message);
    // Permission bits do not stop root: a folder that is really a file stops everyone.
    testfiles::write(at("not a folder"), "a file of the user's");
    const QString blocked = at("not a folder/out.bin");
    testfiles::write(at("gbaldr32.bin"), "loader");
    testfiles::write(at("a.gba"), "game");
    QVERIFY(QFile::copy(OBSIM_PATH, at("OB.exe")));
    useTool(*m_save, at("OB.exe"));
    control<QLineEdit>(m_window, "ldrtext")->setText(at("gbaldr32.bin"));
    control<GameListBox>(m_window, "listdialog")->addItem(at("a.gba"));

    QPushButton* button = operation == "compile"  ? control<QPushButton>(m_window, "compilebtn")
                          : operation == "backup" ? control<QPushButton>(m_save, "backupbtn")
                                                  : control<QPushButton>(m_save, "backupcart");
    QLineEdit* target = operation == "compile"  ? control<QLineEdit>(m_window, "multitxt")
                        : operation == "backup" ? control<QLineEdit>(m_save, "outputxt")
                                                : control<QLineEdit>(m_save, "cartname");
    target->setText(blocked);
    const QStringList told = press(button);
    QCOMPARE(told.size(), 1);
    // The copy says what the command interpreter says; on Windows, in its own words.
    const QString expected = QString(message).replace("%P", blocked).replace("%F", at("not a folder"));
    QVERIFY2(expected.contains("%R")
                 ? testfiles::saysWithReason(told.first(), expected, "The system cannot find the path specified.")
                 : told.first().startsWith(expected),
             qPrintable(told.first()));
    QCOMPARE(testfiles::read(at("not a folder")), QByteArray("a file of the user's"));

    // The window goes on working with a place that can be written.
    target->setText(at("out.bin"));
    const QStringList again = press(button);
    QCOMPARE(again.size(), 1);
    QVERIFY2(!again.first().contains("failed"), qPrintable(again.first()));
    QVERIFY(QFile::exists(at("out.bin")));
}

void FaultsTest::emptyLoaderAndGame()
{
    testfiles::write(at("empty loader.bin"), "");
    testfiles::write(at("empty.gba"), "");
    testfiles::write(at("real.gba"), "real game");
    control<QLineEdit>(m_window, "ldrtext")->setText(at("empty loader.bin"));
    control<QLineEdit>(m_window, "orbicklocation")->setText("tool");
    // An empty game is named, and so is an empty loader.
    control<GameListBox>(m_window, "listdialog")->addItems({at("empty.gba"), at("real.gba")});
    QCOMPARE(press(control<QPushButton>(m_window, "compilebtn")).value(0),
             "the loader is empty, so the multirom would start with the first game: " + at("empty loader.bin"));
    testfiles::write(at("empty loader.bin"), "loader ");
    QCOMPARE(press(control<QPushButton>(m_window, "compilebtn")).value(0),
             "this game is empty, so there is nothing of it to put in the multirom: " + at("empty.gba"));
    control<GameListBox>(m_window, "listdialog")->removeEntry(0);
    QCOMPARE(press(control<QPushButton>(m_window, "compilebtn")).value(0).left(12), QString("Compiled to "));
    QCOMPARE(testfiles::read(control<QLineEdit>(m_window, "multitxt")->text()), QByteArray("loader real game"));
}

void FaultsTest::backupThatFailsHalfWay_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("tool"); // writes part of the file, then fails
    QTest::addColumn<QString>("message");
    const QString putBack = "; the file that was there before is back in its place";
    QTest::newRow("save backup, exit code")
        << "backup" << QStringList{"write half", "exit 1"} << "backup failed: exit code 1" + putBack;
#ifdef Q_OS_WIN
    QTest::newRow("cart backup, ended for a fault")
        << "cart" << QStringList{"write half", "crash"} << "backup failed: crashed with status 0xC0000005" + putBack;
#else
    QTest::newRow("cart backup, killed") << "cart" << QStringList{"write half", "crash"}
                                         << "backup failed: killed by signal 9" + putBack;
#endif
}

void FaultsTest::backupThatFailsHalfWay()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, tool);
    QFETCH(QString, message);
    const QString file = at("backup.sav");
    testfiles::write(file, "an older backup");
    useTool(*m_save, testfiles::writeStandIn(at("failing tool"), tool));
    (operation == "backup" ? control<QLineEdit>(m_save, "outputxt") : control<QLineEdit>(m_save, "cartname"))
        ->setText(file);
    // The file is the last argument: the ninth for a save backup, for a cart backup too (-s FILE).
    const QStringList told = press(operation == "backup" ? control<QPushButton>(m_save, "backupbtn")
                                                         : control<QPushButton>(m_save, "backupcart"));
    QCOMPARE(told, QStringList{message});
    QCOMPARE(testfiles::read(file), QByteArray("an older backup")); // what the user had, as it was
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
