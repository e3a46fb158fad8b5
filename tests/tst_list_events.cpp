// The main window's lists driven with real keys and clicks: what Qt's own list and combo box
// would do on their own must not leak into Remove, Move, browsing or the port.
#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/GameListBox.h"
#include "controls/PortComboBox.h"
#include "mainwindow/MainWindow.h"
#include "savewindow/SaveWindow.h"
#include "support/Controls.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// A desktop style whose item views open an entry on a single click.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == QStyle::SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

void clickRow(QAbstractItemView* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualRect(list->model()->index(row, 0)).center());
}

} // namespace

class ListEventsTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void removeAndMoveTakeOnlyTheSelection_data();
    void removeAndMoveTakeOnlyTheSelection();
    void browsingChangesOnlyOnARealChange_data();
    void browsingChangesOnlyOnARealChange();
    void portIsTheSelectedEntry_data();
    void portIsTheSelectedEntry();
    void theListWithTheFocusFramesItsRow_data();
    void theListWithTheFocusFramesItsRow();

private:
    QStringList games() const
    {
        QStringList paths;
        for (const char* name : {"a.gba", "b.gba", "c.gba", "d.gba", "e.gba"})
            paths.append(testfiles::native(m_dir->filePath(name)));
        return paths;
    }
};

void ListEventsTest::init()
{
    createFolder();
    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    startWindow();
    control<GameListBox>(m_window, "listdialog")->addItems(games());
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void ListEventsTest::cleanup()
{
    finish();
}

void ListEventsTest::removeAndMoveTakeOnlyTheSelection_data()
{
    QTest::addColumn<QString>("clicks"); // on the rows of the game list, before the buttons
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QStringList>("left"); // names of the games left, in order

    const QStringList remove{"rmvbutton"};
    // clang-format off
    QTest::newRow("Remove the first") << "0" << remove << QStringList{"b.gba", "c.gba", "d.gba", "e.gba"};
    QTest::newRow("Remove a middle one") << "2" << remove << QStringList{"a.gba", "b.gba", "d.gba", "e.gba"};
    QTest::newRow("Remove the last") << "4" << remove << QStringList{"a.gba", "b.gba", "c.gba", "d.gba"};
    QTest::newRow("Remove the last, press again") << "4" << remove + remove
                                                  << QStringList{"a.gba", "b.gba", "c.gba", "d.gba"};
    QTest::newRow("Remove twice removes the one picked") << "1" << remove + remove
                                                         << QStringList{"a.gba", "c.gba", "d.gba", "e.gba"};
    QTest::newRow("Remove with nothing selected") << "" << remove
                                                  << QStringList{"a.gba", "b.gba", "c.gba", "d.gba", "e.gba"};
    QTest::newRow("Move after Ctrl+click cleared the pick") << "1,^1" << QStringList{"moveup"}
                                                            << QStringList{"a.gba", "b.gba", "c.gba", "d.gba", "e.gba"};
    QTest::newRow("Move up the one picked") << "2" << QStringList{"moveup"}
                                            << QStringList{"a.gba", "c.gba", "b.gba", "d.gba", "e.gba"};
    // clang-format on
}

void ListEventsTest::removeAndMoveTakeOnlyTheSelection()
{
    QFETCH(QString, clicks);
    QFETCH(QStringList, buttons);
    QFETCH(QStringList, left);
    GameListBox* list = control<GameListBox>(m_window, "listdialog");
    for (const QString& click : clicks.split(',', Qt::SkipEmptyParts)) {
        const bool ctrl = click.startsWith('^');
        clickRow(list, click.mid(ctrl ? 1 : 0).toInt(), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    }
    for (const QString& name : buttons)
        QTest::mouseClick(m_window->findChild<QPushButton*>(name), Qt::LeftButton);
    QStringList names;
    for (const QString& entry : list->entries())
        names.append(QFileInfo(entry).fileName());
    QCOMPARE(names, left);
    if (buttons.last() == "rmvbutton")
        QVERIFY2(!list->selectionModel()->hasSelection(), "Remove leaves nothing selected");
}

void ListEventsTest::browsingChangesOnlyOnARealChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("opens"); // the folder "sub" opens

    QTest::newRow("Enter on the open folder") << "enter open" << false;
    QTest::newRow("double-click on the open folder") << "double-click open" << false;
    QTest::newRow("the drive already shown, chosen again") << "same drive" << false;
    QTest::newRow("one click under a single-click style") << "single click" << false;
    QTest::newRow("double-click on a subfolder") << "double-click sub" << true;
    QTest::newRow("Enter on a subfolder") << "enter sub" << true;
}

void ListEventsTest::browsingChangesOnlyOnARealChange()
{
    QFETCH(QString, action);
    QFETCH(bool, opens);
    FolderList* folders = control<FolderList>(m_window, "dirdialog");
    QSignalSpy folderChanged(folders, &FolderList::pathChanged);
    QSignalSpy filesChanged(control<FileList>(m_window, "filedialog"), &FileList::pathChanged);
    const int open = folders->currentRow();
    const int sub = folders->rowOf("sub", Qt::MatchEndsWith);
    const int row = action.endsWith("sub") || action == "single click" ? sub : open;
    const QRect place = folders->rowRect(row);
    QProxyStyle* style = nullptr;
    if (action == "single click") {
        style = new SingleClickStyle;
        folders->setStyle(style);
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    } else if (action.startsWith("double-click")) {
        QTest::mouseDClick(folders->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    } else if (action.startsWith("enter")) {
        folders->setCurrentRow(row);
        QTest::keyClick(folders, Qt::Key_Return);
    } else {
        DriveList* drives = control<DriveList>(m_window, "drvdialog");
        drives->showPopup();
        QTest::keyClick(drives->view(), Qt::Key_Return);
    }
    QCOMPARE(folderChanged.count(), opens ? 1 : 0);
    QCOMPARE(filesChanged.count(), opens ? 1 : 0);
    const QString subPath = testfiles::native(m_dir->filePath("sub"));
    QCOMPARE(folders->path(), opens ? subPath : testfiles::native(m_dir->path()));
    QCOMPARE(m_window->windowTitle(), opens ? "Dialog Box - " + subPath : QString("Vellmore"));
    if (style) {
        folders->setStyle(nullptr);
        delete style;
    }
}

void ListEventsTest::portIsTheSelectedEntry_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("lpt"); // the port the tool is given
    QTest::addColumn<QString>("shown");

    for (const char* window : {"frmdialog", "saveload"}) {
        auto row = [window](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", window, name) << QString(window);
        };
        row("as created") << "" << 1 << "LPT1";
        row("chosen from code") << "code 2" << 3 << "LPT3";
        row("picked in the drop-down") << "pick 3" << 4 << "LPT4";
        row("arrow key") << "down" << 1 << "LPT1";
        row("typed and confirmed with Enter") << "type lpt3,enter" << 1 << "lpt3";
        row("picked, then typed over") << "pick 1,type LPT2" << 1 << "LPT2";
        row("typed, then chosen from code") << "type x,code 1" << 2 << "LPT2";
    }
}

void ListEventsTest::portIsTheSelectedEntry()
{
    QFETCH(QString, window);
    QFETCH(QString, steps);
    QFETCH(int, lpt);
    QFETCH(QString, shown);
    std::unique_ptr<SaveWindow> save;
    PortComboBox* port = control<PortComboBox>(m_window, "sizelist");
    if (window == "saveload") {
        save.reset(new SaveWindow(m_services));
        save->show();
        QVERIFY(QTest::qWaitForWindowExposed(save.get()));
        port = control<PortComboBox>(save, "sizelist");
    }
    port->setFocus();
    for (const QString& step : steps.split(',', Qt::SkipEmptyParts)) {
        if (step.startsWith("code "))
            port->setCurrentIndex(step.mid(5).toInt());
        else if (step.startsWith("pick ")) {
            port->showPopup();
            port->view()->setCurrentIndex(port->model()->index(step.mid(5).toInt(), 0));
            QTest::keyClick(port->view(), Qt::Key_Return);
        } else if (step == "down")
            QTest::keyClick(port->lineEdit(), Qt::Key_Down);
        else if (step == "enter")
            QTest::keyClick(port->lineEdit(), Qt::Key_Return);
        else if (step.startsWith("type ")) {
            port->lineEdit()->selectAll();
            QTest::keyClicks(port->lineEdit(), step.mid(5));
        }
    }
    QCOMPARE(port->portNumber(), lpt);
    QCOMPARE(port->currentText(), shown);
}

void ListEventsTest::theListWithTheFocusFramesItsRow_data()
{
    QTest::addColumn<QString>("list"); // as the window opened: the open folder selected, a file current
    QTest::addColumn<bool>("emptied"); // the games: the third selected, or none at all
    QTest::newRow("the folders") << "dirdialog" << false;
    QTest::newRow("the files") << "filedialog" << false;
    QTest::newRow("the games") << "listdialog" << false;
    QTest::newRow("the games, empty") << "listdialog" << true;
}

// A dotted frame round the current row in the row's text colour, and only while the list has the focus.
void ListEventsTest::theListWithTheFocusFramesItsRow()
{
    QFETCH(QString, list);
    QFETCH(bool, emptied);
    auto* view = control<QAbstractItemView>(m_window, qPrintable(list));
    if (emptied)
        control<QPushButton>(m_window, "reset")->click();
    else if (list == "listdialog")
        control<GameListBox>(m_window, "listdialog")->setCurrentRow(2);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    const QModelIndex row = view->currentIndex();
    const QRect place = row.isValid() ? view->visualRect(row) : QRect(0, 0, view->viewport()->width(), 1);
    const QColor frame = view->palette().color(
        row.isValid() && view->selectionModel()->isSelected(row) ? QPalette::HighlightedText : QPalette::Text);
    auto framedPixels = [&] {
        const QImage shown = view->viewport()->grab().toImage();
        int count = 0;
        for (int x = place.left(); x < place.right(); ++x)
            count += shown.pixelColor(x, place.top()) == frame;
        return count;
    };
    view->setFocus();
    QVERIFY2(framedPixels() >= place.width() / 4, qPrintable(QString::number(framedPixels())));
    control<QPushButton>(m_window, "compilebtn")->setFocus();
    QCOMPARE(framedPixels(), 0);
}

QTEST_MAIN(ListEventsTest)
#include "tst_list_events.moc"
