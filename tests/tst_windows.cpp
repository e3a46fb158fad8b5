// The file choosers, the output folder and About windows, and the way between all four windows,
// driven through the real windows and dialogs.
#include "about/AboutWindow.h"
#include "app/WindowRegistry.h"
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "controls/MessageBox.h"
#include "mainwindow/MainWindow.h"
#include "outputfolder/OutputFolderWindow.h"
#include "platform/Platform.h"
#include "savewindow/SaveWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

// The window of that kind that exists now, shown or hidden; none is created for the asking.
template <class Window> Window* existingWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget))
            return window;
    }
    return nullptr;
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false); // as the program runs
#ifndef Q_OS_WIN
        // The choosers' history goes to the test's own settings, never the user's.
        const QString settings = QSettings(QSettings::UserScope, "QtProject").fileName();
        QVERIFY2(!settings.startsWith(QDir::homePath() + "/.config/"), qPrintable(settings));
#endif
    }
    void init();
    void cleanup();
    void choosers_data();
    void choosers();
    void chooserTakesTheNameAsConfirmed_data();
    void chooserTakesTheNameAsConfirmed();
    void allFilesListsNamesWithoutADot_data();
    void allFilesListsNamesWithoutADot();
    void saveDialogAsksBeforeReplacingOrCreating_data();
    void saveDialogAsksBeforeReplacingOrCreating();
    void outputFolder_data();
    void outputFolder();
    void aboutWindow_data();
    void aboutWindow();
    void shownWindowComesToTheFront_data();
    void shownWindowComesToTheFront();
    void saveWindowKeepsOrLosesItsChoices_data();
    void saveWindowKeepsOrLosesItsChoices();
    void toolPathTravelsOnlyWhenTheToolIsHere_data();
    void toolPathTravelsOnlyWhenTheToolIsHere();
    void exitFromEitherWindowEndsTheProgram_data();
    void exitFromEitherWindowEndsTheProgram();
    void everyCaptionIsWhole();
    void formsAreDrawnInTheSystemsFace();
    void menuBarOverflowIconIsThereWhenDrawn();

private:
    bool exactlyOneWorkingWindowShown() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testfiles::CurrentDirectory> m_cwd;
    std::unique_ptr<WindowRegistry> m_windows;
};

void WindowsTest::init()
{
    m_dir.reset(new QTemporaryDir);
    testfiles::write(m_dir->filePath("OB.exe"), "tool");
    testfiles::write(m_dir->filePath("gbaldr32.bin"), "loader");
    m_cwd.reset(new testfiles::CurrentDirectory(m_dir->path()));
    m_windows.reset(new WindowRegistry);
    m_windows->start();
}

void WindowsTest::cleanup()
{
    m_windows.reset();
    m_cwd.reset();
    m_dir.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

bool WindowsTest::exactlyOneWorkingWindowShown() const
{
    const bool main = m_windows->mainWindow()->isVisible();
    const bool save = existingWindow<SaveWindow>() && existingWindow<SaveWindow>()->isVisible();
    return main != save;
}

void WindowsTest::choosers_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("firstFilter");
    QTest::addColumn<QString>("chosen"); // relative to the folder; empty: cancelled

    auto row = [](const char* name, const char* window, const char* button, const char* target, const char* title,
                  const char* firstFilter, const char* chosen) {
        QTest::newRow(name) << QString(window) << QString(button) << QString(target) << QString(title)
                            << QString(firstFilter) << QString(chosen);
    };
    // clang-format off
    row("loader", "frmdialog", "ldrselect", "ldrtext", "Select Loader File", "Loader Files (*.bin)", "my loader.bin");
    row("loader cancelled", "frmdialog", "ldrselect", "ldrtext", "Select Loader File", "Loader Files (*.bin)", "");
    row("tool by its plain name, any letter case", "frmdialog", "orbickbtn", "orbicklocation", "Select Orbick File", "Orbick (OB.exe)", "ob.EXE");
    row("save window tool", "saveload", "orbickbtn", "orbicklocation", "Select Orbick File", "Orbick (OB.exe)", "OB.exe");
    row("saved game to restore", "saveload", "Command1", "restoretxt", "Select Save File", "Saved Game Files (*.sav)", "game.sav");
    row("save backup file", "saveload", "Command2", "outputxt", "Enter Save Filename", "Saved Game Files (*.sav)", "game.sav");
    row("cart backup file cancelled", "saveload", "Command4", "cartname", "Select Backup File", "Gameboy Advance ROM (*.gba)", "");
    // clang-format on
}

void WindowsTest::choosers()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    QFETCH(QString, target);
    QFETCH(QString, title);
    QFETCH(QString, firstFilter);
    QFETCH(QString, chosen);
    for (const char* name : {"my loader.bin", "ob.EXE", "game.sav"})
        testfiles::write(m_dir->filePath(name), "x");
    // The dialogs start in the browser's folder, not in the folder of the path already chosen.
    const QString browsed = m_dir->path();
    MainWindow* main = m_windows->mainWindow();
    QWidget* owner = main;
    if (window == "saveload") {
        control<QPushButton>(main, "Command1")->click();
        owner = existingWindow<SaveWindow>();
    }
    auto* box = owner->findChild<QLineEdit*>(target);
    box->setText("/somewhere/else/before.bin");
    for (QLabel* label : {control<QLabel>(main, "Label2"), control<QLabel>(main, "gotloader"),
                          control<QLabel>(main, "Label4"), control<QLabel>(main, "gotorbick")})
        colours::setTextColour(label, colours::red);
    const QStringList before = [&] {
        QStringList texts;
        for (const QLineEdit* edit : owner->findChildren<QLineEdit*>())
            texts.append(edit->text());
        return texts;
    }();
    const ChooserVisit visit =
        answerChooser([&] { QTest::mouseClick(owner->findChild<QPushButton*>(button), Qt::LeftButton); },
                      chosen.isEmpty() ? QString() : m_dir->filePath(chosen));
    QCOMPARE(visit.title, title);
    QCOMPARE(visit.selectedFilter, firstFilter);
    // The window the chooser came from is active again, so that its focused control is announced.
    QCOMPARE(QApplication::activeWindow(), owner);
    QCOMPARE(visit.folder, QDir(browsed).absolutePath());
    // The name as the file system has it: where letter case is ignored, the name of the file already there.
    const QString onDisk = chosen == "ob.EXE" && !platform::fileNamesAreCaseSensitive() ? QString("OB.exe") : chosen;
    QCOMPARE(box->text(), chosen.isEmpty() ? QString() : testfiles::native(m_dir->filePath(onDisk)));
    // Only the button's own box took the path.
    const QList<QLineEdit*> edits = owner->findChildren<QLineEdit*>();
    for (int i = 0; i < edits.size(); ++i) {
        if (edits[i] != box)
            QCOMPARE(edits[i]->text(), before[i]);
    }
    QCOMPARE(QDir::currentPath(), QDir(m_dir->path()).absolutePath());
    // The main window's choosers end the warning on their labels, cancelled or not; the save window colours nothing.
    const bool loaderPair = window == "frmdialog" && button == "ldrselect";
    const bool toolPair = window == "frmdialog" && button == "orbickbtn";
    for (QLabel* label : {control<QLabel>(main, "Label2"), control<QLabel>(main, "gotloader"),
                          control<QLabel>(main, "Label4"), control<QLabel>(main, "gotorbick")}) {
        const bool cleared =
            (loaderPair && (label == control<QLabel>(main, "Label2") || label == control<QLabel>(main, "gotloader"))) ||
            (toolPair && (label == control<QLabel>(main, "Label4") || label == control<QLabel>(main, "gotorbick")));
        // Black is drawn in the desktop's text colour, so that a dark desktop keeps it readable.
        QCOMPARE(colours::textColour(label),
                 cleared ? QGuiApplication::palette().color(QPalette::WindowText) : QColor(Qt::red));
    }
}

void WindowsTest::chooserTakesTheNameAsConfirmed_data()
{
    QTest::addColumn<QString>("button");   // of the save window
    QTest::addColumn<QByteArray>("typed"); // the name as the system stores it, relative to the folder
    QTest::addColumn<int>("filter");       // the filter pair picked; -1: the first
    QTest::addColumn<QString>("chosen");   // what the box then holds, relative; empty: nothing
    QTest::addColumn<QString>("asked");    // what the first question names (%T: the folder); empty: none
    QTest::addColumn<QString>("refused");  // the start of the message that refuses the name; empty: none

    auto row = [](const char* name, const char* button, const QByteArray& typed, int filter, const char* chosen,
                  const char* asked, const char* refused) {
        QTest::newRow(name) << QString(button) << typed << filter << QString(chosen) << QString(asked)
                            << QString(refused);
    };
    // clang-format off
#ifndef Q_OS_WIN // names that end in blanks, links, names that are bytes: not on Windows' file systems
    row("backup to a name ending in a blank", "Command2", "game.sav ", -1, "game.sav ", "game.sav ", "");
    row("restore from a name ending in a blank", "Command1", "game.sav ", -1, "game.sav ", "", "");
    row("a link that leads nowhere yet", "Command2", "dang.sav", -1, "dang.sav", "%T/other/far.sav", "");
    row("a circle of links", "Command2", "loop.sav", -1, "", "", "this name is a link that leads round in a circle of links: ");
    row("backup to a name that is not valid text", "Command2", "bad\xff\xfe.sav", -1, "", "", "this file's name is not valid text, so Vellmore cannot use it: ");
    row("restore from a name that is not valid text", "Command1", "bad\xff\xfe.sav", -1, "", "", "this file's name is not valid text, so Vellmore cannot use it: ");
#endif
    row("a name outside the system's 8-bit code page", "Command1", "Łódź Spiele/Łódź.sav", -1, "Łódź Spiele/Łódź.sav", "", "");
    row("a double quote", "Command2", "q\"uo'te.sav", -1, "", "", "a name with a double quote cannot be used: q\"uo'te.sav");
    row("a name too long for the file system", "Command2", QByteArray(300, 'n') + ".sav", -1, "", "", "the name is too long for the file system");
    row("a save typed without extension", "Command2", "newsave", -1, "newsave.sav", "newsave.sav\n", "");
    row("a cart typed without extension", "Command4", "cart", -1, "cart.gba", "cart.gba\n", "");
    row("typed without extension, a folder of that name here", "Command2", "Łódź Spiele", -1, "Łódź Spiele.sav", "Łódź Spiele.sav\n", "");
    row("All Files: no extension added", "Command2", "plain", 1, "plain", "plain\n", "");
    row("an extension of its own is kept", "Command2", "game.v2", -1, "game.v2", "game.v2\n", "");
    // clang-format on
}

void WindowsTest::chooserTakesTheNameAsConfirmed()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, typed);
    QFETCH(int, filter);
    QFETCH(QString, chosen);
    QFETCH(QString, asked);
    QFETCH(QString, refused);
    const QString folder = m_dir->path();
    testfiles::write(m_dir->filePath("game.sav"), "the other game");
    QVERIFY(QDir(folder).mkdir(QString::fromUtf8("Łódź Spiele")));
    testfiles::write(m_dir->filePath(QString::fromUtf8("Łódź Spiele/Łódź.sav")), "a game");
    const bool dialogSettingsBefore = QSettings(QSettings::UserScope, "QtProject").childGroups().contains("FileDialog");
#ifndef Q_OS_WIN
    testfiles::write(m_dir->filePath("game.sav "), "this game");
    QVERIFY(QDir(folder).mkdir("other"));
    QVERIFY(QFile::link(m_dir->filePath("other/far.sav"), m_dir->filePath("dang.sav")));
    QVERIFY(QFile::link(m_dir->filePath("loop2.sav"), m_dir->filePath("loop.sav")));
    QVERIFY(QFile::link(m_dir->filePath("loop.sav"), m_dir->filePath("loop2.sav")));
    testfiles::writeRaw(QFile::encodeName(folder) + "/bad\xff\xfe.sav", "a game with a bad name");
#endif
    control<QPushButton>(m_windows->mainWindow(), "Command1")->click();
    SaveWindow* save = existingWindow<SaveWindow>();
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    // Names as the system stores them: bytes on Linux, UTF-16 (written here as UTF-8) on Windows.
#ifdef Q_OS_WIN
    const QString path = folder + "/" + QString::fromUtf8(typed);
#else
    const QString path = folder + "/" + QFile::decodeName(typed);
#endif
    const ChooserVisit visit = answerChooser(
        [&] { QTest::mouseClick(save->findChild<QPushButton*>(button), Qt::LeftButton); }, path, {}, filter);
    const QString target = button == "Command1" ? "restoretxt" : button == "Command2" ? "outputxt" : "cartname";
    QCOMPARE(save->findChild<QLineEdit*>(target)->text(),
             chosen.isEmpty() ? QString() : testfiles::native(folder + "/" + chosen));
    if (asked.isEmpty())
        QVERIFY2(visit.prompts.isEmpty() || !refused.isEmpty(), qPrintable(visit.prompts.join('|')));
    else
        QVERIFY2(!visit.prompts.isEmpty() && visit.prompts.first().contains(QString(asked).replace("%T", folder)),
                 qPrintable(visit.prompts.join('|')));
    if (refused.isEmpty()) {
        QVERIFY2(visit.refusals.isEmpty(), qPrintable(visit.refusals.join('|')));
    } else {
        QCOMPARE(visit.refusals.size(), 1);
        QVERIFY2(visit.refusals.first().startsWith(refused), qPrintable(visit.refusals.first()));
    }
    // A chooser only names a file: nothing was made or renamed.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    // Nor does it leave the dialog's history where every Qt program reads it (the registry on Windows).
    QCOMPARE(QSettings(QSettings::UserScope, "QtProject").childGroups().contains("FileDialog"), dialogSettingsBefore);
}

void WindowsTest::allFilesListsNamesWithoutADot_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("Orbick (OB.exe)") << 0 << QStringList{"OB.exe"};
    QTest::newRow("Program Files (*.exe)") << 1 << QStringList{"OB.exe", "other.exe"};
    QTest::newRow("All Files (*.*)") << 2 << QStringList{"OB.exe", "gbaldr32.bin", "obtool", "other.exe"};
}

void WindowsTest::allFilesListsNamesWithoutADot()
{
    QFETCH(int, filter);
    QFETCH(QStringList, listed);
    testfiles::write(m_dir->filePath("obtool"), "a tool without a dot");
    testfiles::write(m_dir->filePath("other.exe"), "another tool");
    FileChooser chooser(FileChooser::Kind::Open, m_windows->mainWindow(),
                        "Orbick (OB.exe)|OB.exe|Program Files (*.exe)|*.exe|All Files (*.*)|*.*", "t", m_dir->path());
    chooser.show();
    auto* types = chooser.findChild<QComboBox*>("fileTypeCombo");
    types->setFocus();
    for (int step = 0; step < filter; ++step)
        QTest::keyClick(types, Qt::Key_Down);
    const auto* view = chooser.findChild<QListView*>("listView");
    auto shown = [view] {
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
            if (!view->isRowHidden(row))
                names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
        }
        names.sort();
        return names;
    };
    QTRY_COMPARE(shown(), listed);
}

void WindowsTest::saveDialogAsksBeforeReplacingOrCreating_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("a new file: No, then Yes") << false << QStringList{"No", "Yes"};
    QTest::newRow("an existing file: No, then Yes") << true << QStringList{"No", "Yes"};
}

void WindowsTest::saveDialogAsksBeforeReplacingOrCreating()
{
    QFETCH(bool, exists);
    QFETCH(QStringList, answers);
    const QString file = m_dir->filePath("backup.sav");
    if (exists)
        testfiles::write(file, "an older backup");
    control<QPushButton>(m_windows->mainWindow(), "Command1")->click();
    SaveWindow* save = existingWindow<SaveWindow>();
    const ChooserVisit visit = answerChooser([&] { control<QPushButton>(save, "Command2")->click(); }, file, answers);
    QCOMPARE(visit.prompts.size(), 2);
    QVERIFY2(visit.prompts.first().contains("backup.sav"), qPrintable(visit.prompts.first()));
    QVERIFY(visit.stayedOpenAfterNo);
    QCOMPARE(visit.confirmations, 2);
    QCOMPARE(control<QLineEdit>(save, "outputxt")->text(), testfiles::native(file));
    QCOMPARE(QFile::exists(file), exists); // the dialog only names the file
}

void WindowsTest::outputFolder_data()
{
    QTest::addColumn<QString>("folder"); // empty: the test's folder
    QTest::addColumn<QString>("output");
    QTest::newRow("below the root") << "" << testfiles::native("%1/multi.gba");
    QTest::newRow("at the root") << platform::primaryRoot() << platform::primaryRoot() + "multi.gba";
}

void WindowsTest::outputFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, output);
    QVERIFY(QDir(m_dir->path()).mkdir("highlighted"));
    MainWindow* main = m_windows->mainWindow();
    colours::setTextColour(control<QLabel>(main, "Label3"), colours::red);
    control<QPushButton>(main, "Command2")->click();
    OutputFolderWindow* chooser = existingWindow<OutputFolderWindow>();
    QVERIFY(chooser && chooser->isVisible());
    QCOMPARE(control<FolderList>(chooser, "Dir1")->path(), testfiles::native(m_dir->path()));
    if (!folder.isEmpty())
        control<FolderList>(chooser, "Dir1")->setPath(folder);
    // A folder that is only highlighted, not opened, is not the one chosen.
    control<FolderList>(chooser, "Dir1")
        ->setCurrentRow(control<FolderList>(chooser, "Dir1")->rowOf("highlighted", Qt::MatchEndsWith));
    QTest::mouseClick(control<QPushButton>(chooser, "Command1"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(main, "multitxt")->text(), output.arg(testfiles::native(m_dir->path())));
    QCOMPARE(colours::textColour(control<QLabel>(main, "Label3")),
             QGuiApplication::palette().color(QPalette::WindowText));
    QVERIFY(!chooser->isVisible());
    // Hidden, not closed: it is still there once deferred deletions have run, with its folder.
    const QPointer<OutputFolderWindow> kept(chooser);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(kept);
    // Esc, like its close box, closes it without writing anything.
    control<QPushButton>(main, "Command2")->click();
    QCOMPARE(existingWindow<OutputFolderWindow>(), chooser);
    control<QLineEdit>(main, "multitxt")->setText("kept");
    chooser->activateWindow();
    QTest::keyClick(control<FolderList>(chooser, "Dir1"), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!existingWindow<OutputFolderWindow>());
    QCOMPARE(control<QLineEdit>(main, "multitxt")->text(), QString("kept"));
}

void WindowsTest::aboutWindow_data()
{
    QTest::addColumn<QString>("closeBy");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("Esc") << "Esc";
}

void WindowsTest::aboutWindow()
{
    QFETCH(QString, closeBy);
    MainWindow* main = m_windows->mainWindow();
    control<QAction>(main, "about")->trigger();
    AboutWindow* about = existingWindow<AboutWindow>();
    QVERIFY(about && about->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->windowTitle(), QString("About Vellmore"));
    QCOMPARE(control<QLabel>(about, "lblVersion")->text(), QString("Version: .9b9"));
    QVERIFY(control<QLabel>(about, "lblTitle")->font().bold());
    QCOMPARE(about->geometry().topLeft(), QPoint(156, 129)); // 2340 and 1935 twips
    QVERIFY(about->windowFlags().testFlag(Qt::Tool));
    QVERIFY(control<QPushButton>(about, "cmdOK")->isDefault());

    // Moving to the save window hides it; nothing but "About" shows it again.
    control<QPushButton>(main, "Command1")->click();
    QVERIFY(!about->isVisible());
    control<QAction>(existingWindow<SaveWindow>(), "back")->trigger();
    QVERIFY(!about->isVisible());
    QVERIFY(exactlyOneWorkingWindowShown());
    control<QAction>(main, "about")->trigger();
    QVERIFY(about->isVisible());

    about->activateWindow();
    if (closeBy == "OK")
        QTest::mouseClick(control<QPushButton>(about, "cmdOK"), Qt::LeftButton);
    else
        QTest::keyClick(about, closeBy == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!existingWindow<AboutWindow>());
    QVERIFY(main->isVisible());
}

void WindowsTest::shownWindowComesToTheFront_data()
{
    QTest::addColumn<QString>("step"); // shows a window; done twice, the main window active in between
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("focused"); // the control that then has the keyboard's focus; empty: any
    QTest::newRow("About") << "about"
                           << "frmAbout"
                           << "cmdOK";
    QTest::newRow("the output folder window") << "Command2"
                                              << "folderselect"
                                              << "";
    QTest::newRow("the save window") << "Command1"
                                     << "saveload"
                                     << "";
    QTest::newRow("back to the main window") << "back"
                                             << "frmdialog"
                                             << "";
}

void WindowsTest::shownWindowComesToTheFront()
{
    QFETCH(QString, step);
    QFETCH(QString, shown);
    QFETCH(QString, focused);
    MainWindow* main = m_windows->mainWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    auto show = [&] {
        if (step == "about")
            control<QAction>(main, "about")->trigger();
        else if (step == "back")
            control<QAction>(existingWindow<SaveWindow>(), "back")->trigger();
        else
            main->findChild<QPushButton*>(step)->click();
    };
    if (step == "back")
        control<QPushButton>(main, "Command1")->click();
    for (int time = 0; time < 2; ++time) {
        show();
        QTRY_COMPARE(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString(), shown);
        if (!focused.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        // Another window comes in front of it; the next show brings it forward again.
        QWidget* other = step == "back" ? static_cast<QWidget*>(m_windows->folderWindow()) : main;
        other->show();
        other->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == other);
    }
}

void WindowsTest::saveWindowKeepsOrLosesItsChoices_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("kept");
    QTest::newRow("&Back to main menu") << "back" << true;
    QTest::newRow("<- back to main menu") << "Command3" << false;
    QTest::newRow("the close box") << "close" << false;
}

void WindowsTest::saveWindowKeepsOrLosesItsChoices()
{
    QFETCH(QString, way);
    QFETCH(bool, kept);
    MainWindow* main = m_windows->mainWindow();
    control<QPushButton>(main, "Command1")->click();
    SaveWindow* save = existingWindow<SaveWindow>();
    QVERIFY(save->isVisible() && !main->isVisible());
    control<QRadioButton>(save, "bank3")->setChecked(true);
    control<QLineEdit>(save, "outputxt")->setText("/x/game.sav");
    control<QLineEdit>(save, "waitstep")->setText("7");
    if (way == "back")
        control<QAction>(save, "back")->trigger();
    else if (way == "Command3")
        QTest::mouseClick(control<QPushButton>(save, "Command3"), Qt::LeftButton);
    else
        save->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(main->isVisible());
    QVERIFY(exactlyOneWorkingWindowShown());

    control<QPushButton>(main, "Command1")->click();
    save = existingWindow<SaveWindow>();
    QVERIFY(exactlyOneWorkingWindowShown());
    QCOMPARE(control<QRadioButton>(save, "bank3")->isChecked(), kept);
    QCOMPARE(control<QRadioButton>(save, "bank1")->isChecked(), !kept);
    QCOMPARE(control<QLineEdit>(save, "outputxt")->text(), kept ? QString("/x/game.sav") : QString());
    QCOMPARE(control<QLineEdit>(save, "waitstep")->text(), kept ? QString("7") : QString("0"));
    QVERIFY(control<QRadioButton>(save, "size1")->isChecked() && control<QRadioButton>(save, "chip3")->isChecked() &&
            control<QRadioButton>(save, "rbank1")->isChecked());
}

void WindowsTest::toolPathTravelsOnlyWhenTheToolIsHere_data()
{
    QTest::addColumn<QString>("toolHere"); // the tool's name in the current directory; empty: none
    QTest::addColumn<QString>("mainPath");
    QTest::addColumn<bool>("copied");
    QTest::newRow("tool here, main path changed by the user") << "OB.exe"
                                                              << "/my/other/OB.exe" << true;
    QTest::newRow("tool here in capitals, main path empty") << "OB.EXE"
                                                            << "" << true;
    QTest::newRow("no tool here") << ""
                                  << "/my/other/OB.exe" << false;
}

void WindowsTest::toolPathTravelsOnlyWhenTheToolIsHere()
{
    QFETCH(QString, toolHere);
    QFETCH(QString, mainPath);
    QFETCH(bool, copied);
    QFile::remove(m_dir->filePath("OB.exe"));
    if (!toolHere.isEmpty())
        testfiles::write(m_dir->filePath(toolHere), "tool");
    MainWindow* main = m_windows->mainWindow();
    control<QLineEdit>(main, "orbicklocation")->setText(mainPath);
    control<QPushButton>(main, "Command1")->click();
    SaveWindow* save = existingWindow<SaveWindow>();
    QCOMPARE(control<QLineEdit>(save, "orbicklocation")->text(), copied ? mainPath : QString());
    // Its own tool chooser changes only its own path.
    control<QLineEdit>(save, "orbicklocation")->setText("/changed/here");
    control<QAction>(save, "back")->trigger();
    QCOMPARE(control<QLineEdit>(main, "orbicklocation")->text(), mainPath);
}

void WindowsTest::exitFromEitherWindowEndsTheProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit in the save window, main window hidden") << "save exit";
    QTest::newRow("Exit in the main window") << "main exit";
    QTest::newRow("closing the main window, About and folder windows open") << "main close";
}

void WindowsTest::exitFromEitherWindowEndsTheProgram()
{
    QFETCH(QString, how);
    MainWindow* main = m_windows->mainWindow();
    QTimer::singleShot(0, main, [&] {
        if (how == "save exit") {
            control<QPushButton>(main, "Command1")->click();
            control<QAction>(existingWindow<SaveWindow>(), "exit")->trigger();
        } else if (how == "main exit") {
            control<QAction>(main, "exit")->trigger();
        } else {
            control<QAction>(main, "about")->trigger();
            control<QPushButton>(main, "Command2")->click();
            main->close();
        }
    });
    QTimer notEnded; // the test fails, and goes no further; it dies with the test
    notEnded.setSingleShot(true);
    connect(&notEnded, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    notEnded.start(10000);
    QCOMPARE(QApplication::exec(), 0);
    // Closing the other windows never ends it.
    if (how == "main close") {
        QVERIFY(existingWindow<AboutWindow>() && existingWindow<OutputFolderWindow>());
        int gone = 0;
        QTimer::singleShot(0, main, [&] {
            // Once both are gone, with nothing on the way having ended the program, it goes on.
            for (QWidget* window : {static_cast<QWidget*>(existingWindow<AboutWindow>()),
                                    static_cast<QWidget*>(existingWindow<OutputFolderWindow>())}) {
                connect(window, &QObject::destroyed, [&gone] {
                    if (++gone == 2)
                        QTimer::singleShot(0, [] { QCoreApplication::exit(7); });
                });
                window->close();
            }
        });
        QCOMPARE(QApplication::exec(), 7);
    }
}

void WindowsTest::everyCaptionIsWhole()
{
    MainWindow* main = m_windows->mainWindow();
    control<QPushButton>(main, "Command1")->click();
    control<QPushButton>(main, "Command2")->click();
    control<QAction>(main, "about")->trigger();
    const QList<QWidget*> windows{main, existingWindow<SaveWindow>(), existingWindow<OutputFolderWindow>(),
                                  existingWindow<AboutWindow>()};
    for (QWidget* window : windows) {
        QVERIFY2(window->width() >= form::titleRoomNeeded(window->windowTitle(), window->windowType() == Qt::Tool),
                 qPrintable(window->windowTitle()));
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            QVERIFY2(form::captionFits(control),
                     qPrintable(window->objectName() + "." + control->objectName() + " in " + control->font().family() +
                                " " + QString::number(control->font().pointSizeF())));
            QVERIFY(control->font().pointSizeF() >= 7.0);
        }
    }
    // The shortest message is as wide as its title needs.
    bool wellFormed = false;
    QCOMPARE(answerMessages([&] { showMessage(main, "Flashed!"); }, &wellFormed), QStringList{"Flashed!"});
    QVERIFY(wellFormed);
}

void WindowsTest::formsAreDrawnInTheSystemsFace()
{
    if (testfiles::underWine())
        QSKIP("Wine brings no Microsoft Sans Serif; the forms fall back on Liberation Sans there");
    QCOMPARE(form::windowFont().family(), platform::formFaceFamily());
}

void WindowsTest::menuBarOverflowIconIsThereWhenDrawn()
{
    // The icon is read only when drawn: drawing it must still give the style's picture.
    auto* overflow = m_windows->mainWindow()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(overflow);
    QVERIFY(!overflow->icon().pixmap(16).isNull());
    QVERIFY(!overflow->icon().availableSizes().isEmpty());
}

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
