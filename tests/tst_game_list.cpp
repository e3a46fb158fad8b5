// The game list rules without widgets: add with its duplicate pass, and moves that wrap.
#include "multirom/GameList.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The add algorithm as its rules state it, step by step: quadratic, for small inputs only.
void literalAdd(QStringList& list, int& selection, const QString& folder, const QStringList& names,
                const QVector<bool>& selected, Qt::CaseSensitivity cs)
{
    for (int i = names.size() - 1; i >= 0; --i) {
        if (selected[i])
            list.append(folder == "/" ? folder + names[i] : folder + "/" + names[i]);
        int position = 0;
        while (position < list.size()) {
            int first = 0;
            while (QString::compare(list[first], list[position], cs) != 0)
                ++first;
            selection = first;
            if (first != position)
                list.removeAt(position);
            else
                ++position;
        }
    }
}

void applyAddition(QStringList& list, int& selection, const multirom::GameListAddition& addition)
{
    for (int position : addition.repeatsToRemove)
        list.removeAt(position);
    list += addition.appended;
    if (addition.selection)
        selection = *addition.selection;
}

QVector<bool> flags(const QString& marks)
{
    QVector<bool> result;
    for (const QChar c : marks)
        result.append(c == 'x');
    return result;
}

} // namespace

class GameListTest : public QObject {
    Q_OBJECT

private slots:
    void add_data();
    void add();
    void addMatchesTheLiteralAlgorithm();
    void move_data();
    void move();
};

void GameListTest::add_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("marks"); // x: selected
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedSelection"); // -2: unchanged
    QTest::addColumn<Qt::CaseSensitivity>("names");
    const auto blind = Qt::CaseInsensitive;

    QTest::newRow("selected together arrive bottom-up")
        << QStringList{} << "/roms" << QStringList{"a.gba", "b.gba", "c.gba"} << "xxx"
        << QStringList{"/roms/c.gba", "/roms/b.gba", "/roms/a.gba"} << 2 << blind;
    QTest::newRow("only the selected") << QStringList{"/x/z.gba"} << "/roms" << QStringList{"a.gba", "b.gba", "c.gba"}
                                       << "x.x" << QStringList{"/x/z.gba", "/roms/c.gba", "/roms/a.gba"} << 2 << blind;
    QTest::newRow("at the root no separator is added")
        << QStringList{} << "/" << QStringList{"a.gba"} << "x" << QStringList{"/a.gba"} << 0 << blind;
    QTest::newRow("a file already listed keeps its first place")
        << QStringList{"/roms/a.gba", "/roms/q.gba"} << "/roms" << QStringList{"a.gba", "b.gba"} << "xx"
        << QStringList{"/roms/a.gba", "/roms/q.gba", "/roms/b.gba"} << 0 << blind;
    QTest::newRow("letter case does not make a new entry")
        << QStringList{"/ROMS/A.GBA", "/roms/q.gba"} << "/roms" << QStringList{"a.gba"} << "x"
        << QStringList{"/ROMS/A.GBA", "/roms/q.gba"} << 0 << blind;
    QTest::newRow("non-ASCII letter case")
        << QStringList{"/roms/Élan.gba"} << "/roms" << QStringList{"élan.gba", "z.gba"} << "x."
        << QStringList{"/roms/Élan.gba"} << 0 << blind;
    QTest::newRow("last visited unselected selects the last entry")
        << QStringList{"/roms/a.gba"} << "/roms" << QStringList{"a.gba", "b.gba"} << ".." << QStringList{"/roms/a.gba"}
        << 0 << blind;
    QTest::newRow("nothing selected, empty list: selection stays")
        << QStringList{} << "/roms" << QStringList{"a.gba"} << "." << QStringList{} << -2 << blind;
    QTest::newRow("last visited was a repeat: its first copy is selected")
        << QStringList{"/roms/a.gba", "/roms/b.gba", "/roms/c.gba"} << "/roms" << QStringList{"b.gba", "d.gba"} << "xx"
        << QStringList{"/roms/a.gba", "/roms/b.gba", "/roms/c.gba", "/roms/d.gba"} << 1 << blind;
    QTest::newRow("repeats already in the list are dropped")
        << QStringList{"/r/a.gba", "/r/b.gba", "/R/A.gba"} << "/r" << QStringList{"c.gba"} << "x"
        << QStringList{"/r/a.gba", "/r/b.gba", "/r/c.gba"} << 2 << blind;
    // Where letter case tells files apart, both are games of their own.
    QTest::newRow("case-sensitive: two files that differ in case")
        << QStringList{"/roms/Zelda.gba"} << "/roms" << QStringList{"ZELDA.gba"} << "x"
        << QStringList{"/roms/Zelda.gba", "/roms/ZELDA.gba"} << 1 << Qt::CaseSensitive;
    QTest::newRow("case-sensitive: two folders that differ in case")
        << QStringList{"/x/Games2/x.gba"} << "/x/games2" << QStringList{"x.gba"} << "x"
        << QStringList{"/x/Games2/x.gba", "/x/games2/x.gba"} << 1 << Qt::CaseSensitive;
    QTest::newRow("case-sensitive: the same path once") << QStringList{"/roms/a.gba"} << "/roms" << QStringList{"a.gba"}
                                                        << "x" << QStringList{"/roms/a.gba"} << 0 << Qt::CaseSensitive;
}

void GameListTest::add()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QString, marks);
    QFETCH(QStringList, expected);
    QFETCH(int, expectedSelection);
    QFETCH(Qt::CaseSensitivity, names);

    int selection = -2;
    QStringList list = entries;
    const multirom::GameListAddition addition = multirom::planAddition(entries, folder, files, flags(marks), names);
    applyAddition(list, selection, addition);
    QCOMPARE(list, expected);
    QCOMPARE(selection, expectedSelection);
    QCOMPARE(addition.resultingCount, expected.size());
}

void GameListTest::addMatchesTheLiteralAlgorithm()
{
    QRandomGenerator random(20261207);
    const QStringList pool{"a.gba", "A.gba",         "b.gba", "B.GBA", "c.gba", "ä.gba",
                           "Ä.gba", "long name.gba", "x.gba", "y.gba", "z.gba", "Zz.gba"};
    const QStringList folders{"/roms", "/ROMS", "/", "/other"};
    for (int round = 0; round < 400; ++round) {
        const Qt::CaseSensitivity cs = round % 2 ? Qt::CaseSensitive : Qt::CaseInsensitive;
        // An existing list built the way the window builds it, now and then with raw repeats.
        QStringList list;
        int selection = -1;
        for (int step = int(random.bounded(3)); step > 0; --step) {
            QStringList names;
            QVector<bool> chosen;
            for (int n = int(random.bounded(1, 12)); n > 0; --n) {
                names.append(pool[int(random.bounded(pool.size()))]);
                chosen.append(random.bounded(2) == 1);
            }
            literalAdd(list, selection, folders[int(random.bounded(folders.size()))], names, chosen, cs);
        }
        if (random.bounded(5) == 0 && !list.isEmpty())
            list.append(list.first().toUpper());

        const QString folder = folders[int(random.bounded(folders.size()))];
        QStringList names;
        QVector<bool> chosen;
        for (int n = int(random.bounded(1, 41)); n > 0; --n) {
            names.append(pool[int(random.bounded(pool.size()))]);
            chosen.append(random.bounded(3) != 0);
        }

        QStringList expected = list;
        int expectedSelection = selection;
        literalAdd(expected, expectedSelection, folder, names, chosen, cs);

        QStringList actual = list;
        int actualSelection = selection;
        applyAddition(actual, actualSelection, multirom::planAddition(list, folder, names, chosen, cs));

        QCOMPARE(actual, expected);
        QCOMPARE(actualSelection, expectedSelection);
    }
}

void GameListTest::move_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("expected");

    QTest::newRow("up from the middle") << 1 << 3 << false << 0;
    QTest::newRow("up from the top wraps to the bottom") << 0 << 3 << false << 2;
    QTest::newRow("down from the middle") << 1 << 3 << true << 2;
    QTest::newRow("down from the bottom wraps to the top") << 2 << 3 << true << 0;
    QTest::newRow("single entry up") << 0 << 1 << false << 0;
    QTest::newRow("single entry down") << 0 << 1 << true << 0;
    QTest::newRow("nothing selected") << -1 << 3 << true << -1;
}

void GameListTest::move()
{
    QFETCH(int, position);
    QFETCH(int, count);
    QFETCH(bool, down);
    QFETCH(int, expected);
    QCOMPARE(multirom::movedPosition(position, count, down), expected);
}

QTEST_GUILESS_MAIN(GameListTest)
#include "tst_game_list.moc"
