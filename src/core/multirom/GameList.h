#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace multirom {

// The most entries the game list holds: positions are signed 16-bit numbers.
constexpr int maxGameListEntries = 32767;

// What "Add ->" does to the game list, worked out without touching it.
//
// The list is the existing entries with every later copy of an entry removed
// (copies compare as the file system compares names: letter case aside where it ignores
// letter case, exactly where "A.gba" and "a.gba" are two files), followed by the selected files
// of the browser, visited from the last to the first, each one unless the list
// already holds it. The selection ends on the entry that matched the last file
// visited: the copy already present when that file was one, else the last entry.
struct GameListAddition {
    QVector<int> repeatsToRemove; // positions in the existing list, highest first
    QStringList appended;         // in the order they are appended
    std::optional<int> selection; // empty: the list is empty and the selection stays
    int resultingCount = 0;
};

// Why a list of count entries cannot be, adding added of them: more than the list holds. Nothing when
// it can.
std::optional<QString> listSizeRefusal(int count, int added);

// Works out an addition in one pass over the files and one over the entries.
// fileNames and selected run in the browser's order (top first).
GameListAddition planAddition(const QStringList& entries, const QString& folder, const QStringList& fileNames,
                              const QVector<bool>& selected, Qt::CaseSensitivity names);

// The game list after adding each of the files in turn, as the window's Add does one file at a time:
// a file the list holds already stays where it is and is not added again. Paths are made absolute.
QStringList gameListOf(const QStringList& files, Qt::CaseSensitivity names);

// Where the entry at position moves to, wrapping at both ends; -1 when nothing is selected.
int movedPosition(int position, int count, bool down);

} // namespace multirom
