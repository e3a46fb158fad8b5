// The main window as it is created and started, and its file browser.
#include "controls/ColourValue.h"
#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "controls/GameListBox.h"
#include "controls/PortComboBox.h"
#include "mainwindow/MainWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/FormChecks.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

class MainWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void looks();
    void menusAndTabOrder();
    void startUpDetection_data();
    void startUpDetection();
    void browsingFollowsTheFolder();
    void folderOpensByEnter();
    void fileListShowsGameImagesOnly();
    void unreadableFolderIsReportedAndLeftAlone();
    void vanishedFolderIsReportedAtRefresh();
    void exitAndCloseEndTheProgram();
    void startFolderThatCannotBeUsed_data();
    void startFolderThatCannotBeUsed();
    void namesThatAreNotText();
};

void MainWindowTest::init()
{
    createFolder();
    startWindow(false);
}

void MainWindowTest::cleanup()
{
    finish();
}

void MainWindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("toolTip");

    // Every control of the form by the values that matter: name, kind, caption, tip; where each sits is
    // the form's own business, checked as a whole (inside its frame, caption whole) for every row.
    auto row = [](const char* name, const char* kind, const QString& text, bool shown = true,
                  const QString& toolTip = QString()) {
        QTest::newRow(name) << QString(name) << QString(kind) << text << shown << toolTip;
    };
    row("drvdialog", "DriveList", "/");
    row("dirdialog", "FolderList", "");
    row("multiexist", "QLabel", "", false);
    row("multierase", "QPushButton", "Erase?", false);
    row("Label1", "QLabel", "Select files to add:");
    row("filedialog", "FileList", "", true, "look at all them files");
    row("Label17", "QLabel", "select multiple files with CTRL");
    row("addbtn", "QPushButton", "Add ->", true, "click to add to list");
    row("rmvbutton", "QPushButton", "<- Remove", true, "remove selected item from list");
    row("Label16", "QLabel", "Slot #");
    row("moveup", "QPushButton", "move up");
    row("listdialog", "GameListBox", "");
    row("movedown", "QPushButton", "move down");
    row("Label8", "QLabel", "1");
    row("Label10", "QLabel", "3");
    row("Label15", "QLabel", "8");
    row("Label20", "QLabel", "0", false);
    row("Label4", "QLabel", "Location of Orbick:");
    row("gotorbick", "QLabel", "Orbick found at the following location:", false);
    row("orbicklocation", "QLineEdit", "");
    row("orbickbtn", "QPushButton", "...");
    row("Label3", "QLabel", "Select output directoy:");
    row("multitxt", "QLineEdit", "");
    row("Command2", "QPushButton", "...");
    row("Label2", "QLabel", "Select loader file...");
    row("gotloader", "QLabel", "Loader found. Using the following:", false);
    row("ldrtext", "QLineEdit", "");
    row("ldrselect", "QPushButton", "...");
    row("Label7", "QLabel", "Other Variables");
    row("Label5", "QLabel", "Waitstep:");
    row("waitstep", "QLineEdit", "0");
    row("Label18", "QLabel", "Use EPP:");
    row("eppcheck", "QCheckBox", "");
    row("Label6", "QLabel", "LPT Port:");
    row("sizelist", "PortComboBox", "LPT1");
    row("Label19", "QLabel", "Repair header:");
    row("header", "QCheckBox", "");
    row("compilebtn", "QPushButton", "Compile multirom", true, "Compile the multirom");
    row("flashbtn", "QPushButton", "Flash", true, "FLASH!");
    row("reset", "QPushButton", "Reset", true, "clear game list, start over");
    row("Command1", "QPushButton", "Go to save/load menu ->");
}

void MainWindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    QFETCH(QString, toolTip);

    m_window->show();
    const QWidget* control = checkControl(m_window, name, text, toolTip);
    QVERIFY(control);
    QCOMPARE(QString(control->metaObject()->className()), kind);
    QCOMPARE(control->isVisible(), shown);
}

void MainWindowTest::looks()
{
    QCOMPARE(m_window->windowTitle(), QString("Vellmore"));
    QCOMPARE(control<QWidget>(m_window, "clientArea")->size(), QSize(499, 428));
    QVERIFY(!m_window->windowIcon().isNull());
    QVERIFY(m_window->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(m_window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());

    QCOMPARE(m_window->font().pointSizeF(), 8.25);
    for (QWidget* browse : {static_cast<QWidget*>(control<QPushButton>(m_window, "orbickbtn")),
                            static_cast<QWidget*>(control<QPushButton>(m_window, "Command2")),
                            static_cast<QWidget*>(control<QPushButton>(m_window, "ldrselect"))}) {
        QVERIFY(browse->font().bold());
        QVERIFY(QStringList({"Arial", "Liberation Sans", "DejaVu Sans"}).contains(browse->font().family()));
        QCOMPARE(browse->font().pointSizeF(), 8.25);
    }
    QVERIFY(control<QLabel>(m_window, "multiexist")->font().bold());

    QCOMPARE(colours::textColour(control<QLabel>(m_window, "multiexist")), QColor(255, 0, 0));
    QCOMPARE(colours::textColour(control<QLabel>(m_window, "Label3")), QColor(0, 0, 0));
    QCOMPARE(colours::textColour(control<QLineEdit>(m_window, "multitxt")),
             QGuiApplication::palette().color(QPalette::Text)); // menu text: the desktop's text colour
    QCOMPARE(colours::backgroundColour(control<FolderList>(m_window, "dirdialog")),
             colours::backgroundColourFor(colours::titleBarText));
    QCOMPARE(colours::textColour(control<FolderList>(m_window, "dirdialog")),
             QGuiApplication::palette().color(QPalette::Text));
    QCOMPARE(colours::backgroundColour(control<QLineEdit>(m_window, "waitstep")), QColor(255, 255, 255));
    QCOMPARE(control<QFrame>(m_window, "Line5")->palette().color(QPalette::Window), QColor(128, 128, 128));
    QCOMPARE(control<QFrame>(m_window, "Line5")->geometry(), QRect(205, 0, 1, 228));

    QVERIFY(control<QCheckBox>(m_window, "eppcheck")->isChecked());
    QVERIFY(control<QCheckBox>(m_window, "header")->isChecked());
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->count(), 4);
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->itemText(3), QString("LPT4"));
    QCOMPARE(control<PortComboBox>(m_window, "sizelist")->currentIndex(), -1);
    QCOMPARE(control<FileList>(m_window, "filedialog")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(control<QLineEdit>(m_window, "ldrtext")->isReadOnly() &&
            control<QLineEdit>(m_window, "multitxt")->isReadOnly() &&
            control<QLineEdit>(m_window, "orbicklocation")->isReadOnly());
    QVERIFY(!control<QLineEdit>(m_window, "waitstep")->isReadOnly());
}

void MainWindowTest::menusAndTabOrder()
{
    QCOMPARE(control<QMenu>(m_window, "file")->title(), QString("&File"));
    QCOMPARE(control<QAction>(m_window, "exit")->text(), QString("E&xit"));
    QCOMPARE(control<QMenu>(m_window, "help")->title(), QString("&Help"));
    QCOMPARE(control<QAction>(m_window, "about")->text(), QString("&About"));
    QCOMPARE(control<QMenu>(m_window, "file")->actions(), QList<QAction*>{control<QAction>(m_window, "exit")});

    const QStringList expected{"ldrtext",    "drvdialog", "dirdialog", "filedialog", "addbtn",         "rmvbutton",
                               "listdialog", "orbickbtn", "Command2",  "ldrselect",  "waitstep",       "sizelist",
                               "compilebtn", "flashbtn",  "reset",     "multitxt",   "orbicklocation", "multierase",
                               "Command1",   "moveup",    "movedown",  "eppcheck",   "header"};
    QCOMPARE(tabOrderOf(control<QLineEdit>(m_window, "ldrtext"), expected), expected);
}

void MainWindowTest::startUpDetection_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("loader");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<bool>("multirom");

    QTest::newRow("loader upper case, tool mixed case, multirom")
        << QStringList{"GBALDR32.BIN", "Ob.Exe", "multi.gba"} << "GBALDR32.BIN"
        << "Ob.Exe" << true;
    QTest::newRow("hidden and folder look-alikes") << QStringList{".gbaldr32.bin", "ob.exe/", "multi.gba/"} << ""
                                                   << "" << false;
    QTest::newRow("nothing") << QStringList{"a.gba"} << ""
                             << "" << false;
}

void MainWindowTest::startUpDetection()
{
    QFETCH(QStringList, files);
    QFETCH(QString, loader);
    QFETCH(QString, tool);
    QFETCH(bool, multirom);
    for (const QString& name : files) {
        if (name.endsWith('/'))
            QVERIFY(QDir(m_dir->path()).mkdir(name.chopped(1)));
        else
            testfiles::write(m_dir->filePath(name), "x");
    }
    delete m_window; // created before the files were there
    m_window = new MainWindow(m_services);
    m_window->loadStartupFiles();
    m_window->show();

    const QString folder = m_dir->path();
    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), folder);
    QCOMPARE(control<QLineEdit>(m_window, "ldrtext")->text(), loader.isEmpty() ? QString() : folder + "/" + loader);
    QCOMPARE(control<QLabel>(m_window, "gotloader")->isVisible(), !loader.isEmpty());
    QCOMPARE(control<QLabel>(m_window, "Label2")->isVisible(), loader.isEmpty());
    QCOMPARE(control<QLineEdit>(m_window, "orbicklocation")->text(), tool.isEmpty() ? QString() : folder + "/" + tool);
    QCOMPARE(control<QLabel>(m_window, "gotorbick")->isVisible(), !tool.isEmpty());
    QCOMPARE(control<QLabel>(m_window, "Label4")->isVisible(), tool.isEmpty());
    QCOMPARE(control<QLineEdit>(m_window, "multitxt")->text(), folder + "/multi.gba");
    QCOMPARE(control<QLabel>(m_window, "multiexist")->isVisible(), multirom);
    QCOMPARE(control<QPushButton>(m_window, "multierase")->isVisible(), multirom);
    QCOMPARE(control<QLabel>(m_window, "multiexist")->text(),
             multirom ? QString("multi found in current directory!") : QString());
    QCOMPARE(m_window->windowTitle(), QString("Vellmore"));
}

void MainWindowTest::browsingFollowsTheFolder()
{
    const QString with = m_dir->filePath("with");
    const QString without = m_dir->filePath("without");
    testfiles::write(with + "/multi.gba", "m");
    testfiles::write(with + "/a.gba", "a");
    QVERIFY(QDir().mkpath(without));
    m_window->loadStartupFiles();
    m_window->show();
    const QString output = control<QLineEdit>(m_window, "multitxt")->text();

    control<FolderList>(m_window, "dirdialog")->setPath(with);
    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), with);
    QCOMPARE(m_window->windowTitle(), "Dialog Box - " + with);
    QVERIFY(control<QLabel>(m_window, "multiexist")->isVisible() &&
            control<QPushButton>(m_window, "multierase")->isVisible());
    QCOMPARE(control<QLabel>(m_window, "multiexist")->text(), QString("multi found in current directory!"));

    control<FolderList>(m_window, "dirdialog")->setPath(without);
    QCOMPARE(m_window->windowTitle(), "Dialog Box - " + without);
    QVERIFY(!control<QLabel>(m_window, "multiexist")->isVisible() &&
            !control<QPushButton>(m_window, "multierase")->isVisible());
    QCOMPARE(control<FileList>(m_window, "filedialog")->count(), 0);

    // Choosing the root drive shows "/" and its caption; the output path is never touched by browsing.
    control<DriveList>(m_window, "drvdialog")->setDrive("/");
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->path(), QString("/"));
    QCOMPARE(m_window->windowTitle(), QString("Dialog Box - /"));
    QCOMPARE(control<QLineEdit>(m_window, "multitxt")->text(), output);
}

void MainWindowTest::folderOpensByEnter()
{
    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    control<FolderList>(m_window, "dirdialog")->refresh();
    m_window->show();
    const int sub = control<FolderList>(m_window, "dirdialog")->rowOf("sub", Qt::MatchEndsWith);
    QVERIFY(sub >= 0);
    control<FolderList>(m_window, "dirdialog")->setCurrentRow(sub);
    control<FolderList>(m_window, "dirdialog")->setFocus();
    QTest::keyClick(control<FolderList>(m_window, "dirdialog"), Qt::Key_Return);
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->path(), m_dir->filePath("sub"));
    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), m_dir->filePath("sub"));
    // The chain runs from the root down to the open folder.
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->folderOf(0), QString("/"));
    QCOMPARE(
        control<FolderList>(m_window, "dirdialog")->folderOf(control<FolderList>(m_window, "dirdialog")->currentRow()),
        m_dir->filePath("sub"));
}

void MainWindowTest::fileListShowsGameImagesOnly()
{
    for (const char* name : {"b.gba", "A.GBA", "c.Gba", ".hidden.gba", "notes.txt", "x.gba.bak"})
        testfiles::write(m_dir->filePath(name), "x");
    QVERIFY(QDir(m_dir->path()).mkdir("folder.gba"));
    control<FileList>(m_window, "filedialog")->refresh();
    QCOMPARE(control<FileList>(m_window, "filedialog")->texts(), (QStringList{"A.GBA", "b.gba", "c.Gba"}));
}

void MainWindowTest::unreadableFolderIsReportedAndLeftAlone()
{
    testfiles::write(m_dir->filePath("plain"), "p");
    testfiles::write(m_dir->filePath("a.gba"), "a");
    control<FileList>(m_window, "filedialog")->refresh();
    const QString bad = m_dir->filePath("plain/sub");
    bool wellFormed = false;
    const QStringList messages =
        answerMessages([&] { control<FolderList>(m_window, "dirdialog")->setPath(bad); }, &wellFormed);
    QCOMPARE(messages.size(), 1);
    QVERIFY(wellFormed);
    QVERIFY2(messages.first().contains(bad) && messages.first().contains(QString::fromLocal8Bit(strerror(ENOTDIR))),
             qPrintable(messages.first()));
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->path(), m_dir->path());
    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), m_dir->path());
    QCOMPARE(control<FileList>(m_window, "filedialog")->count(), 1);
    QCOMPARE(m_window->windowTitle(), QString("Vellmore"));
}

void MainWindowTest::vanishedFolderIsReportedAtRefresh()
{
    const QString gone = m_dir->filePath("gone");
    testfiles::write(gone + "/a.gba", "a");
    control<FolderList>(m_window, "dirdialog")->setPath(gone);
    QCOMPARE(control<FileList>(m_window, "filedialog")->count(), 1);
    QVERIFY(QDir(gone).removeRecursively());
    const QStringList messages = answerMessages([&] { m_window->refreshBrowser(); });
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(gone), qPrintable(messages.first()));
    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), gone);
    QCOMPARE(control<FileList>(m_window, "filedialog")->count(), 1);
}

void MainWindowTest::exitAndCloseEndTheProgram()
{
    QSignalSpy ended(m_window, &MainWindow::endProgramRequested);
    control<QAction>(m_window, "exit")->trigger();
    QCOMPARE(ended.count(), 1);
    m_window->show();
    m_window->close();
    QCOMPARE(ended.count(), 2);
}

void MainWindowTest::startFolderThatCannotBeUsed_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("deleted after the start") << QByteArray("gone") << true;
    QTest::newRow("a name that is not valid text") << QByteArray("caf\xe9") << false;
}

void MainWindowTest::startFolderThatCannotBeUsed()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, deleted);
    delete m_window;
    const QString home = m_dir->filePath("home");
    testfiles::write(home + "/multi.gba", "the user's multirom at home");
    const QByteArray start = QFile::encodeName(m_dir->path()) + "/" + name;
    QCOMPARE(::mkdir(start.constData(), 0755), 0);
    QCOMPARE(::chdir(start.constData()), 0);
    if (deleted)
        QCOMPARE(::rmdir(start.constData()), 0);
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    m_window = new MainWindow(m_services);
    m_window->loadStartupFiles();
    m_window->show();
    const QStringList told = answerMessages([&] { m_window->reportStartProblem(); });
    const QStringList toldAgain = answerMessages([&] { m_window->reportStartProblem(); });
    qputenv("HOME", savedHome);
    QDir::setCurrent(m_dir->path());

    QCOMPARE(control<FileList>(m_window, "filedialog")->path(), home);
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->path(), home);
    QCOMPARE(control<QLineEdit>(m_window, "multitxt")->text(), home + "/multi.gba");
    QVERIFY(control<QLineEdit>(m_window, "ldrtext")->text().isEmpty());
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().startsWith("cannot read the folder Vellmore was started in") && told.first().contains(home),
             qPrintable(told.first()));
    QVERIFY(toldAgain.isEmpty());
}

void MainWindowTest::namesThatAreNotText()
{
    const QByteArray folder = QFile::encodeName(m_dir->path()) + "/";
    for (const QByteArray& name : {QByteArray("caf\xe9.gba"), QByteArray("x\xff.gba"), QByteArray("x\xef\xbf\xbd.gba")})
        testfiles::writeRaw(folder + name, name);
    testfiles::write(m_dir->filePath("a.gba"), "a");
    QCOMPARE(::mkdir(folder + "d\xe9", 0755), 0);
    m_window->loadStartupFiles();
    m_window->show();
    m_window->refreshBrowser();

    auto select = [&](const QString& text) {
        control<FileList>(m_window, "filedialog")->clearSelection();
        control<FileList>(m_window, "filedialog")
            ->setRowSelected(control<FileList>(m_window, "filedialog")->rowOf(text), true);
    };
    const QString undecodable = QFile::decodeName("caf\xe9.gba");
    QVERIFY(control<FileList>(m_window, "filedialog")->isUnusable(undecodable));
    QVERIFY(!control<FileList>(m_window, "filedialog")->isUnusable("a.gba"));
    const QModelIndex shownInItalics = control<FileList>(m_window, "filedialog")
                                           ->model()
                                           ->index(control<FileList>(m_window, "filedialog")->rowOf(undecodable), 0);
    QCOMPARE(shownInItalics.data(Qt::FontRole).value<QFont>().italic(), true);
    QVERIFY(!shownInItalics.data(Qt::ToolTipRole).toString().isEmpty());
    // Either of two files that look the same once decoded would be a guess: both are refused.
    for (const QString& name : {undecodable, QFile::decodeName("x\xef\xbf\xbd.gba")}) {
        select(name);
        const QStringList told = click(control<QPushButton>(m_window, "addbtn"));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(m_dir->filePath(name)), qPrintable(told.first()));
        QCOMPARE(control<GameListBox>(m_window, "listdialog")->count(), 0);
    }
    // A folder with such a name is not opened.
    const int badFolder =
        control<FolderList>(m_window, "dirdialog")->rowOf(QFile::decodeName("d\xe9"), Qt::MatchEndsWith);
    QVERIFY(badFolder >= 0);
    control<FolderList>(m_window, "dirdialog")->setCurrentRow(badFolder);
    const QStringList told =
        answerMessages([&] { QTest::keyClick(control<FolderList>(m_window, "dirdialog"), Qt::Key_Return); });
    QCOMPARE(told.size(), 1);
    QCOMPARE(control<FolderList>(m_window, "dirdialog")->path(), m_dir->path());

    // The window goes on working with the names that are text.
    select("a.gba");
    QVERIFY(click(control<QPushButton>(m_window, "addbtn")).isEmpty());
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->entries(), QStringList{m_dir->filePath("a.gba")});
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
