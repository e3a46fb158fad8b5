// What a screen reader finds in each window: every control that takes input or the focus has a
// name a person would say, windows are windows, groups are named, and lines are only lines.
#include "app/WindowRegistry.h"
#include "controls/Accessibility.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "runner/ConsoleWindow.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/TestFiles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

// The roles of what takes input.
bool takesInput(QAccessible::Role role)
{
    static const QList<QAccessible::Role> input{
        QAccessible::EditableText, QAccessible::CheckBox,   QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::List,         QAccessible::PushButton, QAccessible::SpinBox};
    return input.contains(role);
}

struct Finding {
    QStringList nameless; // controls that take input or the focus without a name a person would say
    QStringList groups;   // the names of the option groups
    int separators = 0;
};

void walk(QAccessibleInterface* node, const QString& where, Finding& found)
{
    static const QRegularExpression sayable(QStringLiteral("[\\p{L}\\p{N}]"));
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child)
            continue;
        QString name = child->text(QAccessible::Name);
        // On Linux Qt reads a combo box's text as its name; what names it there is its label (the
        // relation its buddy gives) or the name it was given.
        if (child->role() == QAccessible::ComboBox) {
            const auto labels = child->relations(QAccessible::Labelled);
            name = !labels.isEmpty() ? labels.first().first->text(QAccessible::Name)
                                     : qobject_cast<QWidget*>(child->object())->accessibleName();
        }
        const QString here = where + "/" + (child->object() ? child->object()->objectName() : QString::number(i));
        const QAccessible::Role role = child->role();
        if ((takesInput(role) || child->state().focusable) && !name.contains(sayable))
            found.nameless.append(here + " (\"" + name + "\")");
        if (role == QAccessible::Grouping)
            found.groups.append(name);
        if (role == QAccessible::Separator)
            ++found.separators;
        // The inner parts of a combo box and a list are the combo box's and the list's own.
        if (role != QAccessible::ComboBox && role != QAccessible::List)
            walk(child, here, found);
    }
}

// What assistive technology was told, as a screen reader hears it.
struct Heard {
    QStringList focusAway; // focus events for a widget that did not have the keyboard focus
    QList<QAccessible::Event> events;
    QString lastFocus; // the object name of the last focus event's widget, and ":row N" for a row
};
Heard heard;

void listen(QAccessibleEvent* event)
{
    heard.events.append(event->type());
    if (event->type() != QAccessible::Focus)
        return;
    const auto* widget = qobject_cast<QWidget*>(event->object());
    if (widget && !widget->hasFocus())
        heard.focusAway.append(widget->objectName());
    if (widget)
        heard.lastFocus = widget->objectName() + (event->child() >= 0 ? QString(":row %1").arg(event->child()) : "");
}

// A folder with a tool, a loader and three games, made the current directory, and the windows started there.
QWidget* shownWindow(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return QTest::qWaitForWindowActive(widget) ? widget : nullptr;
    }
    return nullptr;
}

struct Started {
    Started()
    {
        windows.start();
        main = windows.mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
    }
    static QString filled(const QTemporaryDir& dir)
    {
        for (const char* name : {"OB.exe", "gbaldr32.bin", "a.gba", "b.gba", "c.gba"})
            testfiles::write(dir.filePath(name), "bytes");
        return dir.path();
    }
    QTemporaryDir dir;
    testfiles::CurrentDirectory cwd{filled(dir)};
    WindowRegistry windows;
    MainWindow* main = nullptr;

    // Adds the games, as the user selects them in the file list and presses Add.
    void addGames()
    {
        auto* files = control<FileList>(main, "filedialog");
        for (int row = 0; row < files->count(); ++row)
            files->setRowSelected(row, files->text(row).endsWith(".gba"));
        files->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        control<QPushButton>(main, "addbtn")->click();
    }
    // What a screen reader reads of each row (Qt reads it from the model as the row's name).
    QStringList rowNames() const
    {
        auto* list = control<GameListBox>(main, "listdialog");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names.append(list->model()->index(i, 0).data(Qt::AccessibleTextRole).toString());
        return names;
    }
};

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        // The bridge to a screen reader comes up once the event loop runs, where there is one.
        if (QGuiApplication::platformName() != "offscreen")
            QVERIFY(QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000));
    }
    // What the windows' deleteLater() left goes before the next test, and nobody listens any more.
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QAccessible::installUpdateHandler(nullptr);
    }
    void everyWindowReadsWhole_data();
    void everyWindowReadsWhole();
    void noFocusIsHeardAwayFromTheFocus_data();
    void noFocusIsHeardAwayFromTheFocus();
    void gameRowsSayTheirSlotAndMoveByKeys();
    void eachBoxIsNamedByItsVisibleLabel_data();
    void eachBoxIsNamedByItsVisibleLabel();
    void enteringAListEndsOnItsRow_data();
    void enteringAListEndsOnItsRow();
    void eachActionSaysWhatItDid_data();
    void eachActionSaysWhatItDid();
    void consoleIsADialogThatStops();
    void tabEntersEachOptionGroupOnItsChoice_data();
    void tabEntersEachOptionGroupOnItsChoice();
};

void AccessibilityTest::everyWindowReadsWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("role");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<int>("separators"); // at least
    QTest::newRow("main window") << "frmdialog" << int(QAccessible::Window) << QStringList{} << 8;
    QTest::newRow("save window") << "saveload" << int(QAccessible::Window)
                                 << QStringList{"Chip size", "Bank to back up", "Size to back up", "Bank to restore to"}
                                 << 7;
    QTest::newRow("output folder window") << "folderselect" << int(QAccessible::Window) << QStringList{} << 1;
    QTest::newRow("About window") << "frmAbout" << int(QAccessible::Dialog) << QStringList{} << 1;
}

void AccessibilityTest::everyWindowReadsWhole()
{
    QFETCH(QString, window);
    QFETCH(int, role);
    QFETCH(QStringList, groups);
    QFETCH(int, separators);
    QTemporaryDir dir;
    testfiles::write(dir.filePath("OB.exe"), "tool");
    testfiles::write(dir.filePath("gbaldr32.bin"), "loader");
    const testfiles::CurrentDirectory cwd(dir.path());
    WindowRegistry windows;
    windows.start();
    MainWindow* main = windows.mainWindow();
    control<QPushButton>(main, "Command2")->click();
    control<QAction>(main, "about")->trigger();
    control<QPushButton>(main, "Command1")->click();
    QWidget* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == window)
            shown = widget;
    }
    QVERIFY(shown);
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(shown);
    QVERIFY(root);
    QCOMPARE(int(root->role()), role);
    QVERIFY(!root->text(QAccessible::Name).isEmpty());
    Finding found;
    walk(root, window, found);
    QVERIFY2(found.nameless.isEmpty(), qPrintable("without a name: " + found.nameless.join(", ")));
    QCOMPARE(found.groups, groups);
    QVERIFY2(found.separators >= separators, qPrintable(QString::number(found.separators)));
}

void AccessibilityTest::noFocusIsHeardAwayFromTheFocus_data()
{
    QTest::addColumn<QString>("window"); // where the button is
    QTest::addColumn<QString>("button"); // pressed with Space while it has the focus
    QTest::newRow("Add") << "frmdialog"
                         << "addbtn";
    QTest::newRow("Remove") << "frmdialog"
                            << "rmvbutton";
    QTest::newRow("move up") << "frmdialog"
                             << "moveup";
    QTest::newRow("move down") << "frmdialog"
                               << "movedown";
    QTest::newRow("Compile and its message box closed") << "frmdialog"
                                                        << "compilebtn";
    QTest::newRow("the output folder's Select") << "folderselect"
                                                << "Command1";
}

void AccessibilityTest::noFocusIsHeardAwayFromTheFocus()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    // Qt tells of focus only to a screen reader that listens: scripts/check-accessibility runs
    // this under the accessibility bus.
    if (!QAccessible::isActive())
        QSKIP("no screen reader listens here (offscreen); scripts/check-accessibility runs this");
    QAccessible::installUpdateHandler(listen);
    {
        Started started;
        started.addGames();
        control<GameListBox>(started.main, "listdialog")->setCurrentRow(1);
        if (window == "folderselect")
            control<QPushButton>(started.main, "Command2")->click();
        QWidget* shown = shownWindow(window);
        QVERIFY(shown);
        auto* pressed = control<QPushButton>(shown, button.toLatin1().constData());
        pressed->setFocus();
        heard = Heard();
        answerMessages([&] { QTest::keyClick(pressed, Qt::Key_Space); });
        QCoreApplication::processEvents();
        QVERIFY2(heard.focusAway.isEmpty(), qPrintable(heard.focusAway.join(", ")));
        // The focus goes back where it was once the window is active again (the window manager's part).
        if (window == "frmdialog")
            QCOMPARE(started.main->focusWidget(), pressed);
    }
}

void AccessibilityTest::gameRowsSayTheirSlotAndMoveByKeys()
{
    Started started;
    started.addGames();
    auto* list = control<GameListBox>(started.main, "listdialog");
    // What each row should say: its slot and its file's name.
    auto expectedNames = [list] {
        QStringList names;
        for (const QString& path : list->entries())
            names.append(QString("slot %1: %2").arg(names.size() + 1).arg(QFileInfo(path).fileName()));
        return names;
    };
    const QStringList added = list->entries();
    QCOMPARE(started.rowNames(), expectedNames());
    QCOMPARE(started.rowNames().size(), 3);
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(list)->child(1);
    QCOMPARE(row->text(QAccessible::Name), started.rowNames()[1]);
    QCOMPARE(row->text(QAccessible::Description), testfiles::native(started.dir.path()));
    // Pointing at a row shows its whole path and what its header says.
    QHelpEvent pointed(QEvent::ToolTip, list->rowRect(1).center(),
                       list->viewport()->mapToGlobal(list->rowRect(1).center()));
    QCoreApplication::sendEvent(list->viewport(), &pointed);
    QVERIFY2(QToolTip::text().startsWith(list->entry(1) + "\n"), qPrintable(QToolTip::text()));
    // The current row's description adds what the game's header says.
    list->setCurrentRow(2);
    QCOMPARE(list->model()->index(2, 0).data(Qt::AccessibleDescriptionRole).toString(),
             testfiles::native(started.dir.path()) + "; not a game image: 5 bytes");
    // Ctrl+Down and Ctrl+Up move the selected game, Delete removes it; the slots follow.
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(list->entries(), QStringList({added[1], added[0], added[2]}));
    QCOMPARE(started.rowNames(), expectedNames());
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->entries(), QStringList({added[1], added[2]}));
    // The place is kept: a row is current though none is selected, and a second Delete removes nothing.
    QVERIFY(list->currentIndex().isValid() && list->selectedRow() < 0);
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->entries(), QStringList({added[1], added[2]}));
    QCoreApplication::processEvents();
    QCOMPARE(started.rowNames(), expectedNames());
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(list->entries(), QStringList({added[2], added[1]}));
    QCOMPARE(started.rowNames(), expectedNames());
}

void AccessibilityTest::eachBoxIsNamedByItsVisibleLabel_data()
{
    QTest::addColumn<bool>("found"); // the tool and the loader are in the folder
    QTest::newRow("both found") << true;
    QTest::newRow("neither found") << false;
}

void AccessibilityTest::eachBoxIsNamedByItsVisibleLabel()
{
    QFETCH(bool, found);
    Started started;
    if (!found) {
        started.windows.mainWindow()->close();
        QFile::remove(started.dir.filePath("OB.exe"));
        QFile::remove(started.dir.filePath("gbaldr32.bin"));
    }
    WindowRegistry again;
    again.start();
    MainWindow* main = found ? started.main : again.mainWindow();
    for (const char* box : {"orbicklocation", "ldrtext"}) {
        auto* edit = control<QLineEdit>(main, box);
        const auto labels = QAccessible::queryAccessibleInterface(edit)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        auto* label = qobject_cast<QLabel*>(labels.first().first->object());
        QVERIFY2(!label->isHidden(), qPrintable(label->text()));
        QCOMPARE(edit->accessibleName(), accessibility::spokenName(label->text()));
    }
}

void AccessibilityTest::enteringAListEndsOnItsRow_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("row");
    QTest::newRow("the game list") << "listdialog" << 1;
    QTest::newRow("the file list") << "filedialog" << 2;
    QTest::newRow("the folder list") << "dirdialog" << 0;
}

// The row's focus comes after the list's own, so that a screen reader ends on the current row.
void AccessibilityTest::enteringAListEndsOnItsRow()
{
    QFETCH(QString, list);
    QFETCH(int, row);
    if (!QAccessible::isActive())
        QSKIP("no screen reader listens here (offscreen); scripts/check-accessibility runs this");
    Started started;
    started.addGames();
    auto* entered = control<QAbstractItemView>(started.main, qPrintable(list));
    entered->setCurrentIndex(entered->model()->index(row, 0));
    control<QPushButton>(started.main, "compilebtn")->setFocus();
    QAccessible::installUpdateHandler(listen);
    heard = Heard();
    entered->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(heard.lastFocus, QString("%1:row %2").arg(list).arg(row));
}

void AccessibilityTest::eachActionSaysWhatItDid_data()
{
    QTest::addColumn<QString>("button"); // pressed after the three games were added, b.gba selected; "open": the
                                         // browser opens a folder with a multirom
    QTest::addColumn<QString>("said");
    const char* const rows[][3] = {{"Add", "", "3 games added, 3 in the list"},
                                   {"move up", "moveup", "b.gba to slot 1"},
                                   {"move down", "movedown", "b.gba to slot 3"},
                                   {"Remove", "rmvbutton", "b.gba removed, 2 left"},
                                   {"a folder with a multirom opened", "open", "multi found in current directory!"},
                                   {"Erase?", "multierase", "multi.gba erased"},
                                   {"the output folder's Select", "Command1", "The multirom goes to %1"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
}

void AccessibilityTest::eachActionSaysWhatItDid()
{
    QFETCH(QString, button);
    QFETCH(QString, said);
    Started started;
    if (!button.isEmpty())
        started.addGames();
    QWidget* pressedIn = started.main;
    // A folder beside with a multirom in it, opened in the browser.
    const QString withMultirom = started.dir.filePath("sub");
    QVERIFY(QDir(started.dir.path()).mkdir("sub"));
    testfiles::write(withMultirom + "/multi.gba", "a multirom");
    auto openIt = [&] { control<FolderList>(started.main, "dirdialog")->setPath(withMultirom); };
    if (button == "multierase") {
        openIt();
    } else if (button == "Command1") {
        control<QPushButton>(started.main, "Command2")->click();
        pressedIn = shownWindow("folderselect");
        QVERIFY(pressedIn);
        said = said.arg(testfiles::native(started.dir.filePath("multi.gba")));
    }
    control<GameListBox>(started.main, "listdialog")->setCurrentRow(1);
    auto* announcement = control<QWidget>(started.main, "announcement");
    heard = Heard();
    QAccessible::installUpdateHandler(listen);
    if (button.isEmpty())
        started.addGames();
    else if (button == "open")
        openIt();
    else
        answerMessages([&] { control<QPushButton>(pressedIn, button.toLatin1().constData())->click(); });
    QCOMPARE(QAccessible::queryAccessibleInterface(announcement)->text(QAccessible::Name), said);
    if (button == "open") { // and the open folders sound open, as they look; the subfolders do not
        const QAbstractItemModel* folders = control<FolderList>(started.main, "dirdialog")->model();
        QCOMPARE(folders->index(folders->rowCount() - 1, 0).data(Qt::AccessibleTextRole).toString(), "sub, open");
        QCOMPARE(folders->index(folders->rowCount() - 2, 0).data(Qt::AccessibleTextRole).toString(),
                 QDir(started.dir.path()).dirName() + ", open");
    }
    // Said anew: a screen reader speaks a notification as it appears.
    QVERIFY(!QAccessible::isActive() || heard.events.contains(QAccessible::ObjectShow));
}

void AccessibilityTest::consoleIsADialogThatStops()
{
    ConsoleWindow console("OB.exe -w 0 -l 1 -p multi.gba", "OB.exe", nullptr);
    console.present();
    QVERIFY(QTest::qWaitForWindowActive(&console));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&console);
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), QString("Running OB.exe"));
    QVERIFY(window->state().busy);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(&console, "stop"));
    // The output grows by what arrives; the progress line rewrites only itself.
    heard = Heard();
    QAccessible::installUpdateHandler(listen);
    console.append("Written 1 KiB\n");
    console.append("Written 2 KiB\rWritten 3 KiB\n");
    QTRY_COMPARE(control<QPlainTextEdit>(&console, "output")->toPlainText(), QString("Written 1 KiB\nWritten 3 KiB\n"));
    // What was heard: the lines inserted, not the whole text replaced (where a screen reader listens).
    QVERIFY(!QAccessible::isActive() || heard.events.contains(QAccessible::TextInserted));
    QVERIFY(!heard.events.contains(QAccessible::TextRemoved));
    // The first line is said at once as a notification; the next waits a few seconds.
    QAccessibleInterface* said = QAccessible::queryAccessibleInterface(control<QWidget>(&console, "announcement"));
    QCOMPARE(said->role(), QAccessible::Notification);
    QCOMPARE(said->text(QAccessible::Name), QString("Written 1 KiB"));
    QVERIFY(!said->state().invisible);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("output"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(console.stopReason(), QString("Esc was pressed in the console window"));
    console.markEnded();
    QVERIFY(!window->state().busy);
    QVERIFY(!QAccessible::isActive() || heard.events.contains(QAccessible::StateChanged));
}

void AccessibilityTest::tabEntersEachOptionGroupOnItsChoice_data()
{
    QTest::addColumn<QStringList>("choose"); // the options clicked first
    QTest::addColumn<QStringList>("named");  // the options Tab reaches, as a screen reader names them
    QTest::newRow("as the window opens") << QStringList{} << QStringList{"32 Mbit", "bank 1", "32K", "bank 1"};
    QTest::newRow("other choices") << QStringList{"chip5", "bank3", "size2", "rbank4"}
                                   << QStringList{"128 Mbit", "bank 3", "64K", "bank 4"};
}

void AccessibilityTest::tabEntersEachOptionGroupOnItsChoice()
{
    QFETCH(QStringList, choose);
    QFETCH(QStringList, named);
    Started started;
    control<QPushButton>(started.main, "Command1")->click();
    QWidget* save = shownWindow("saveload");
    QVERIFY(save);
    for (const QString& option : choose)
        control<QRadioButton>(save, option.toLatin1().constData())->click();
    control<QLineEdit>(save, "orbicklocation")->setFocus();
    QStringList reached;
    QSet<QWidget*> visited;
    for (int step = 0; step < 40; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* option = qobject_cast<QRadioButton*>(QApplication::focusWidget());
        if (!option || visited.contains(option))
            continue;
        visited.insert(option);
        QVERIFY2(option->isChecked(), qPrintable(option->objectName()));
        reached.append(QAccessible::queryAccessibleInterface(option)->text(QAccessible::Name));
    }
    reached.sort();
    named.sort();
    QCOMPARE(reached, named);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
