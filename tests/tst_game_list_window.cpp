// The game list as the user edits it in the main window.
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "platform/Platform.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class GameListWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addRemoveMoveAndReset();
    void addWithoutCurrentFileDoesNothing();
    void extentFollowsTheWidestEntry();
    void rowsStayBesideTheirSlotNumbers_data();
    void rowsStayBesideTheirSlotNumbers();
    void addThatWouldOverfillTheListIsRefused();

private:
    void selectFiles(const QStringList& names);
    QStringList entries() const { return control<GameListBox>(m_window, "listdialog")->entries(); }
};

void GameListWindowTest::init()
{
    createFolder();
    for (const char* name : {"a.gba", "b.gba", "c.gba", "a much longer file name than the others.gba"})
        testfiles::write(m_dir->filePath(name), "x");
    startWindow();
}

void GameListWindowTest::cleanup()
{
    finish();
}

void GameListWindowTest::selectFiles(const QStringList& names)
{
    FileList* files = control<FileList>(m_window, "filedialog");
    files->clearSelection();
    for (const QString& name : names) {
        const int found = files->rowOf(name);
        QVERIFY(found >= 0);
        files->setRowSelected(found, true);
    }
}

void GameListWindowTest::addRemoveMoveAndReset()
{
    const QString folder = testfiles::native(m_dir->path());
    const QChar sep = platform::separator();
    selectFiles({"a.gba", "b.gba", "c.gba"});
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{folder + sep + "c.gba", folder + sep + "b.gba", folder + sep + "a.gba"}));
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->currentRow(), 2);

    // Adding a listed file again keeps the first copy; files visited after it leave the last entry selected.
    selectFiles({"b.gba"});
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QCOMPARE(entries().size(), 3);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->currentRow(), 2);

    control<GameListBox>(m_window, "listdialog")->setCurrentRow(0);
    QTest::mouseClick(control<QPushButton>(m_window, "moveup"), Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{folder + sep + "b.gba", folder + sep + "a.gba", folder + sep + "c.gba"}));
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->currentRow(), 2);
    QTest::mouseClick(control<QPushButton>(m_window, "movedown"), Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{folder + sep + "c.gba", folder + sep + "b.gba", folder + sep + "a.gba"}));
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->currentRow(), 0);

    control<GameListBox>(m_window, "listdialog")->setCurrentRow(1);
    QTest::mouseClick(control<QPushButton>(m_window, "rmvbutton"), Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{folder + sep + "c.gba", folder + sep + "a.gba"}));

    // Remove and move with nothing selected change nothing.
    control<GameListBox>(m_window, "listdialog")->setCurrentRow(-1);
    QTest::mouseClick(control<QPushButton>(m_window, "rmvbutton"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(m_window, "moveup"), Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{folder + sep + "c.gba", folder + sep + "a.gba"}));

    m_window->setPathsFrozen(true);
    QVERIFY(control<QPushButton>(m_window, "ldrselect")->isHidden());
    QTest::mouseClick(control<QPushButton>(m_window, "reset"), Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    for (QLineEdit* box : {control<QLineEdit>(m_window, "multitxt"), control<QLineEdit>(m_window, "ldrtext"),
                           control<QLineEdit>(m_window, "orbicklocation")})
        QCOMPARE(colours::backgroundColour(box), colours::backgroundColourFor(colours::windowBackground));
    for (QPushButton* browse : {control<QPushButton>(m_window, "Command2"), control<QPushButton>(m_window, "ldrselect"),
                                control<QPushButton>(m_window, "orbickbtn")})
        QVERIFY(browse->isVisible());
}

void GameListWindowTest::addWithoutCurrentFileDoesNothing()
{
    control<GameListBox>(m_window, "listdialog")->setHorizontalExtent(77);
    control<FileList>(m_window, "filedialog")->setCurrentRow(-1);
    control<FileList>(m_window, "filedialog")->clearSelection();
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->horizontalExtent(), 77);

    // A current entry without selection: nothing is added, but the extent is set.
    control<FileList>(m_window, "filedialog")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->horizontalExtent(), 5);
}

namespace {
// A text's width as a Windows text extent: its characters' advances added up, rounded up.
int extentWidth(const QFont& font, const QString& text)
{
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const QChar c : text)
        width += metrics.horizontalAdvance(c);
    return int(std::ceil(width));
}
} // namespace

void GameListWindowTest::extentFollowsTheWidestEntry()
{
    const QFont font = m_window->font();
    const QString longest = testfiles::native(m_dir->filePath("a much longer file name than the others.gba"));
    selectFiles({"a.gba", "a much longer file name than the others.gba"});
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->horizontalExtent(), extentWidth(font, longest) + 5);
    QCoreApplication::processEvents();
    QVERIFY(control<GameListBox>(m_window, "listdialog")->horizontalScrollBar()->maximum() > 0);

    // Remove leaves the extent; the next Add measures the list as it is then.
    control<GameListBox>(m_window, "listdialog")->setCurrentRow(entries().indexOf(longest));
    QTest::mouseClick(control<QPushButton>(m_window, "rmvbutton"), Qt::LeftButton);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->horizontalExtent(), extentWidth(font, longest) + 5);
    selectFiles({"b.gba"});
    QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->horizontalExtent(),
             qMax(extentWidth(font, testfiles::native(m_dir->filePath("a.gba"))),
                  extentWidth(font, testfiles::native(m_dir->filePath("b.gba")))) +
                 5);
}

void GameListWindowTest::rowsStayBesideTheirSlotNumbers_data()
{
    QTest::addColumn<int>("points"); // the list's face
    QTest::addColumn<int>("games");
    QTest::addColumn<bool>("scrolled"); // to the end, the rows wider than the list
    QTest::newRow("8 games") << 8 << 8 << false;
    QTest::newRow("8 games, a taller face") << 11 << 8 << false;
    QTest::newRow("9 games scrolled to the end") << 8 << 9 << true;
    QTest::newRow("a full list scrolled to the end") << 8 << 32767 << true;
}

// Each row in view sits beside the number of its slot, in any face and however far the list is scrolled.
void GameListWindowTest::rowsStayBesideTheirSlotNumbers()
{
    QFETCH(int, points);
    QFETCH(int, games);
    QFETCH(bool, scrolled);
    auto* list = control<GameListBox>(m_window, "listdialog");
    QFont face = list->font();
    face.setPointSize(points); // a face taller than the form's, as a system without it gives
    list->setFont(face);
    list->addItems(QVector<QString>(games, QStringLiteral("/games/a.gba")).toList());
    if (scrolled) {
        list->setHorizontalExtent(2 * list->width()); // a sideways scroll bar takes a row's room
        QCoreApplication::processEvents();
        list->scrollToBottom();
    }
    QCoreApplication::processEvents();
    const int top = list->indexAt(QPoint(0, 0)).row();
    QCOMPARE(top > 0, scrolled);
    for (int place = 0; place < 8; ++place) {
        const QLabel* number = control<QLabel>(m_window, qPrintable(QStringLiteral("Label%1").arg(8 + place)));
        const QString slot = QString::number(top + place + 1);
        QCOMPARE(number->text(), slot);
        QVERIFY2(number->fontMetrics().horizontalAdvance(slot) <= number->contentsRect().width(), qPrintable(slot));
        const int rowMiddle = list->viewport()->mapTo(m_window, list->rowRect(top + place).center()).y();
        const int numberTop = number->mapTo(m_window, QPoint()).y();
        QVERIFY2(rowMiddle >= numberTop && rowMiddle < numberTop + form::pixels(195), qPrintable(slot));
    }
}

void GameListWindowTest::addThatWouldOverfillTheListIsRefused()
{
    QStringList many;
    for (int i = 0; i < 32766; ++i)
        many.append(QString("/g/%1.gba").arg(i));
    control<GameListBox>(m_window, "listdialog")->addItems(many);
    selectFiles({"a.gba", "b.gba"});
    const QStringList messages =
        answerMessages([&] { QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton); });
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains("32767"), qPrintable(messages.first()));
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->count(), 32766);

    selectFiles({"a.gba"});
    QVERIFY(
        answerMessages([&] { QTest::mouseClick(control<QPushButton>(m_window, "addbtn"), Qt::LeftButton); }).isEmpty());
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->count(), 32767);
}

QTEST_MAIN(GameListWindowTest)
#include "tst_game_list_window.moc"
