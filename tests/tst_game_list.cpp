// The game list rules without widgets: add with its duplicate pass, and moves that wrap.
#include "multirom/GameList.h"
#include "platform/Platform.h"
#include "support/TestFiles.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The add algorithm as its rules state it, step by step: quadratic, for small inputs only.
void literalAdd(QStringList& list, int& selection, const QString& folder, const QStringList& names,
                const QVector<bool>& selected, Qt::CaseSensitivity cs)
{
    for (int i = names.size() - 1; i >= 0; --i) {
        if (selected[i])
            list.append(folder == platform::primaryRoot() ? folder + names[i]
                                                          : folder + platform::separator() + names[i]);
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
    // Lists are given as names separated by ",".
    auto row = [](const char* name, const char* entries, const char* folder, const char* files, const char* marks,
                  const char* expected, int selection, Qt::CaseSensitivity names) {
        auto list = [](const char* text) {
            QStringList paths = QString(text).split(',', Qt::SkipEmptyParts);
            for (QString& path : paths)
                path = testfiles::here(path);
            return paths;
        };
        QTest::newRow(name) << list(entries) << testfiles::here(folder) << QString(files).split(',', Qt::SkipEmptyParts)
                            << QString(marks) << list(expected) << selection << names;
    };
    // clang-format off
    row("selected together arrive bottom-up", "", "/roms", "a.gba,b.gba,c.gba", "xxx", "/roms/c.gba,/roms/b.gba,/roms/a.gba", 2, blind);
    row("only the selected", "/x/z.gba", "/roms", "a.gba,b.gba,c.gba", "x.x", "/x/z.gba,/roms/c.gba,/roms/a.gba", 2, blind);
    row("at the root no separator is added", "", "/", "a.gba", "x", "/a.gba", 0, blind);
    row("a file already listed keeps its first place", "/roms/a.gba,/roms/q.gba", "/roms", "a.gba,b.gba", "xx", "/roms/a.gba,/roms/q.gba,/roms/b.gba", 0, blind);
    row("letter case does not make a new entry", "/ROMS/A.GBA,/roms/q.gba", "/roms", "a.gba", "x", "/ROMS/A.GBA,/roms/q.gba", 0, blind);
    row("non-ASCII letter case", "/roms/Élan.gba", "/roms", "élan.gba,z.gba", "x.", "/roms/Élan.gba", 0, blind);
    row("last visited unselected selects the last entry", "/roms/a.gba", "/roms", "a.gba,b.gba", "..", "/roms/a.gba", 0, blind);
    row("nothing selected, empty list: selection stays", "", "/roms", "a.gba", ".", "", -2, blind);
    row("last visited was a repeat: its first copy is selected", "/roms/a.gba,/roms/b.gba,/roms/c.gba", "/roms", "b.gba,d.gba", "xx", "/roms/a.gba,/roms/b.gba,/roms/c.gba,/roms/d.gba", 1, blind);
    row("repeats already in the list are dropped", "/r/a.gba,/r/b.gba,/R/A.gba", "/r", "c.gba", "x", "/r/a.gba,/r/b.gba,/r/c.gba", 2, blind);
    // Where letter case tells files apart, both are games of their own.
    row("case-sensitive: two files that differ in case", "/roms/Zelda.gba", "/roms", "ZELDA.gba", "x", "/roms/Zelda.gba,/roms/ZELDA.gba", 1, Qt::CaseSensitive);
    row("case-sensitive: two folders that differ in case", "/x/Games2/x.gba", "/x/games2", "x.gba", "x", "/x/Games2/x.gba,/x/games2/x.gba", 1, Qt::CaseSensitive);
    row("case-sensitive: the same path once", "/roms/a.gba", "/roms", "a.gba", "x", "/roms/a.gba", 0, Qt::CaseSensitive);
    // clang-format on
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
    const QStringList folders{testfiles::here("/roms"), testfiles::here("/ROMS"), platform::primaryRoot(),
                              testfiles::here("/other")};
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
