// The save window as it is created.
#include "controls/ColourValue.h"
#include "controls/FormBuilder.h"
#include "controls/PortComboBox.h"
#include "savewindow/SaveWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/FormChecks.h"
#include "support/RecordingServices.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class SaveWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_services = RecordingServices();
        m_window = new SaveWindow(m_services);
    }
    void cleanup();
    void controls_data();
    void controls();
    void optionGroupsAreIndependent();
    void arrowsGoByTheOptionsOrder_data();
    void arrowsGoByTheOptionsOrder();
    void choosersFillTheirBoxes_data();
    void choosersFillTheirBoxes();
    void commandLineOfTheChoices_data();
    void commandLineOfTheChoices();
    void looksMenusAndTabOrder();

private:
    RecordingServices m_services;
    SaveWindow* m_window = nullptr;
};

void SaveWindowTest::cleanup()
{
    delete m_window;
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void SaveWindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on"); // ticked or selected

    auto row = [](const char* name, const char* parent, const char* text, bool on = false) {
        QTest::newRow(name) << QString(name) << QString(parent) << QString(text) << on;
    };
    row("Label6", "clientArea", "Global Variables");
    row("Label2", "clientArea", "Orbick location:");
    row("orbicklocation", "clientArea", "");
    row("orbickbtn", "clientArea", "...");
    row("waitstep", "clientArea", "0");
    row("eppcheck", "clientArea", "", true);
    row("Label13", "clientArea", "LPT Port:");
    row("Label11", "clientArea", "Backup Cart");
    row("cartname", "clientArea", "");
    row("Command4", "clientArea", "...");
    row("Frame4", "clientArea", "");
    row("chip1", "Frame4", "8");
    row("chip2", "Frame4", "16");
    row("chip3", "Frame4", "32", true);
    row("chip4", "Frame4", "64");
    row("chip5", "Frame4", "128");
    row("chip6", "Frame4", "256");
    row("backupcart", "clientArea", "Step 3: Backup Cart");
    row("Label1", "clientArea", "Backup Save");
    row("Label4", "clientArea", "Step 1: Select bank to backup");
    row("bank1", "Frame1", "1", true);
    row("bank4", "Frame1", "4");
    row("Label9", "clientArea", "Step 2: Select size to backup");
    row("size1", "Frame2", "32K", true);
    row("size4", "Frame2", "256K");
    row("Label3", "clientArea", "Step 3: Select output file");
    row("outputxt", "clientArea", "");
    row("Command2", "clientArea", "...");
    row("backupbtn", "clientArea", "Step 4: Backup");
    row("Label7", "clientArea", "Restore Save");
    row("Label10", "clientArea", "Step 1: Select saved game");
    row("restoretxt", "clientArea", "");
    row("Command1", "clientArea", "...");
    row("Label8", "clientArea", "Step 2: Select bank to restore to");
    row("Frame3", "clientArea", "");
    row("rbank1", "Frame3", "1", true);
    row("rbank3", "Frame3", "3");
    row("restore", "clientArea", "Step 3: Restore");
    row("Command3", "clientArea", "<- back to main menu");
    row("Label20", "clientArea", "0");
}

void SaveWindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, text);
    QFETCH(bool, on);
    const QWidget* control = checkControl(m_window, name, text, QString());
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        QCOMPARE(button->isChecked(), on);
}

void SaveWindowTest::optionGroupsAreIndependent()
{
    control<QRadioButton>(m_window, "rbank4")->setChecked(true);
    control<QRadioButton>(m_window, "chip6")->setChecked(true);
    control<QRadioButton>(m_window, "size3")->setChecked(true);
    QVERIFY(control<QRadioButton>(m_window, "bank1")->isChecked());
    QVERIFY(!control<QRadioButton>(m_window, "rbank1")->isChecked());
    QVERIFY(!control<QRadioButton>(m_window, "chip3")->isChecked());
    QVERIFY(!control<QRadioButton>(m_window, "size1")->isChecked());
    control<QRadioButton>(m_window, "bank2")->setChecked(true);
    QVERIFY(control<QRadioButton>(m_window, "rbank4")->isChecked() &&
            control<QRadioButton>(m_window, "size3")->isChecked() &&
            control<QRadioButton>(m_window, "chip6")->isChecked());
    QVERIFY(!control<QRadioButton>(m_window, "bank1")->isChecked());
}

void SaveWindowTest::choosersFillTheirBoxes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("byEnter"); // Enter on the button, as a keyboard user presses it
    const int open = int(FileChooser::Kind::Open);
    const int save = int(FileChooser::Kind::Save);
    QTest::newRow("tool") << "orbickbtn"
                          << "orbicklocation" << open << "Select Orbick File" << false;
    QTest::newRow("save backup, Enter") << "Command2"
                                        << "outputxt" << save << "Enter Save Filename" << true;
    QTest::newRow("cart backup") << "Command4"
                                 << "cartname" << save << "Select Backup File" << false;
    QTest::newRow("saved game, Enter") << "Command1"
                                       << "restoretxt" << open << "Select Save File" << true;
}

// Each "..." asks for its own kind of dialog in the browser's folder and fills its own box only.
void SaveWindowTest::choosersFillTheirBoxes()
{
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(bool, byEnter);
    m_window->setBrowserFolder("/games");
    m_services.chooserAnswers = QStringList{"/chosen/file"};
    auto* pressed = control<QPushButton>(m_window, qPrintable(button));
    if (byEnter)
        QTest::keyClick(pressed, Qt::Key_Return);
    else
        pressed->click();
    QCOMPARE(m_services.chooserRequests.size(), 1);
    QCOMPARE(int(m_services.chooserRequests.first().kind), kind);
    QCOMPARE(m_services.chooserRequests.first().title, title);
    QCOMPARE(m_services.chooserRequests.first().folder, QString("/games"));
    for (const char* name : {"orbicklocation", "outputxt", "cartname", "restoretxt"})
        QCOMPARE(control<QLineEdit>(m_window, name)->text(), name == box ? QString("/chosen/file") : QString());
}

void SaveWindowTest::commandLineOfTheChoices_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("choices"); // option buttons to select, and port, epp and wait settings
    QTest::addColumn<QStringList>("arguments");
    const QString file = "%F"; // a file in the test's folder, "my game.sav"
    QTest::newRow("backup, bank 3, 128K, LPT2, no EPP")
        << "backupbtn" << QStringList{"bank3", "size3", "port 1", "no epp", "wait 4"}
        << QStringList{"-w", "4", "-l", "2", "-b", "3", "3", file};
    QTest::newRow("backup, bank 4, 256K") << "backupbtn" << QStringList{"bank4", "size4"}
                                          << QStringList{"-2", "-w", "0", "-l", "1", "-b", "4", "4", file};
    QTest::newRow("restore into bank 2, LPT4")
        << "restore" << QStringList{"rbank2", "port 3"} << QStringList{"-2", "-w", "0", "-l", "4", "-r", "2", file};
    QTest::newRow("cart backup, 128 Mbit, wait 2") << "backupcart" << QStringList{"chip5", "wait 2"}
                                                   << QStringList{"-2", "-w", "2", "-l", "1", "-c", "128", "-s", file};
}

// The window asks for exactly the command line of the choices shown, nothing run for real.
void SaveWindowTest::commandLineOfTheChoices()
{
    QFETCH(QString, button);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString saved = dir.filePath("in.sav");
    testfiles::write(saved, "a saved game");
    // A backup's file must be one that can be written: in the test's own folder.
    const QString file = testfiles::native(dir.filePath("my game.sav"));
    arguments.replaceInStrings("%F", file);
    m_services.showMessages = false;
    m_services.runner = [](const run::CommandLine&) { return run::RunOutcome::exited(0); };
    control<QLineEdit>(m_window, "orbicklocation")->setText("/tools/OB.exe");
    control<QLineEdit>(m_window, "outputxt")->setText(file);
    control<QLineEdit>(m_window, "cartname")->setText(file);
    control<QLineEdit>(m_window, "restoretxt")->setText(saved);
    for (const QString& choice : choices) {
        if (choice.startsWith("port "))
            control<PortComboBox>(m_window, "sizelist")->setCurrentIndex(choice.mid(5).toInt());
        else if (choice == "no epp")
            control<QCheckBox>(m_window, "eppcheck")->setChecked(false);
        else if (choice.startsWith("wait "))
            control<QLineEdit>(m_window, "waitstep")->setText(choice.mid(5));
        else
            control<QRadioButton>(m_window, qPrintable(choice))->setChecked(true);
    }
    control<QPushButton>(m_window, qPrintable(button))->click();
    if (button == "restore")
        arguments.last() = saved;
    QCOMPARE(m_services.commands, QList<run::CommandLine>{run::CommandLine("/tools/OB.exe", arguments)});
}

void SaveWindowTest::looksMenusAndTabOrder()
{
    QCOMPARE(m_window->windowTitle(), QString("Backup Game / Restore Game"));
    QCOMPARE(control<QWidget>(m_window, "clientArea")->size(), QSize(423, 428));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(!m_window->windowIcon().isNull());
    for (QLabel* heading : {control<QLabel>(m_window, "Label6"), control<QLabel>(m_window, "Label11"),
                            control<QLabel>(m_window, "Label1"), control<QLabel>(m_window, "Label7")})
        QCOMPARE(heading->font().pointSizeF(), 9.75);
    QCOMPARE(control<QLabel>(m_window, "Label2")->font().pointSizeF(), 8.25);
    QVERIFY(control<QPushButton>(m_window, "Command4")->font().bold());
    QVERIFY(control<QLabel>(m_window, "Label4")->wordWrap());
    QVERIFY(control<QLabel>(m_window, "Label20")->isHidden());
    QVERIFY(control<QLineEdit>(m_window, "orbicklocation")->isReadOnly() &&
            control<QLineEdit>(m_window, "outputxt")->isReadOnly() &&
            control<QLineEdit>(m_window, "cartname")->isReadOnly() &&
            control<QLineEdit>(m_window, "restoretxt")->isReadOnly());
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->currentText(), QString("LPT1"));
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->currentIndex(), -1);
    QCOMPARE(colours::textColour(control<QLineEdit>(m_window, "outputxt")),
             QGuiApplication::palette().color(QPalette::Text));
    QCOMPARE(control<QFrame>(m_window, "Line3")->palette().color(QPalette::Window),
             colours::lineColourFor(colours::inactiveTitleBar));

    QCOMPARE(control<QMenu>(m_window, "file")->title(), QString("&File"));
    QCOMPARE(control<QMenu>(m_window, "file")->actions(),
             (QList<QAction*>{control<QAction>(m_window, "back"), control<QAction>(m_window, "exit")}));
    QCOMPARE(control<QAction>(m_window, "back")->text(), QString("&Back to main menu"));
    QSignalSpy ended(m_window, &SaveWindow::endProgramRequested);
    control<QAction>(m_window, "exit")->trigger();
    QCOMPARE(ended.count(), 1);

    const QStringList expected{
        "orbicklocation", "orbickbtn", "waitstep",   "bank1",     "bank2",    "bank3",     "bank4",  "size1",  "size2",
        "size3",          "size4",     "Command2",   "backupbtn", "Command1", "rbank1",    "rbank2", "rbank3", "rbank4",
        "restore",        "outputxt",  "restoretxt", "Command3",  "cartname", "Command4",  "chip1",  "chip2",  "chip3",
        "chip4",          "chip5",     "chip6",      "eppcheck",  "sizelist", "backupcart"};
    QCOMPARE(tabOrderOf(control<QLineEdit>(m_window, "orbicklocation"), expected), expected);
}

void SaveWindowTest::arrowsGoByTheOptionsOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    // The chip sizes stand in three columns of two: 8 16 | 32 64 | 128 256.
    QTest::newRow("Up from 32 Mbit") << "chip3" << int(Qt::Key_Up) << "chip2";
    QTest::newRow("Left from 16 Mbit") << "chip2" << int(Qt::Key_Left) << "chip1";
    QTest::newRow("Down from 32 Mbit") << "chip3" << int(Qt::Key_Down) << "chip4";
    QTest::newRow("Right from 256 Mbit, round to 8") << "chip6" << int(Qt::Key_Right) << "chip1";
    QTest::newRow("Up from 32K, round to 256K") << "size1" << int(Qt::Key_Up) << "size4";
    QTest::newRow("Down from restore bank 2") << "rbank2" << int(Qt::Key_Down) << "rbank3";
}

void SaveWindowTest::arrowsGoByTheOptionsOrder()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto* start = control<QRadioButton>(m_window, qPrintable(from));
    start->setChecked(true);
    start->setFocus();
    QTest::keyClick(start, Qt::Key(key));
    QVERIFY(control<QRadioButton>(m_window, qPrintable(to))->isChecked());
    QCOMPARE(QApplication::focusWidget(), control<QRadioButton>(m_window, qPrintable(to)));
}

QTEST_MAIN(SaveWindowTest)
#include "tst_save_window.moc"
