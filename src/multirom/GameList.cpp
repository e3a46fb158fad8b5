#include "multirom/GameList.h"

#include "multirom/PathRules.h"

#include <QHash>

namespace multirom {

GameListAddition planAddition(const QStringList& entries, const QString& folder, const QStringList& fileNames,
                              const QVector<bool>& selected)
{
    GameListAddition addition;
    QHash<QString, int> positionOf; // case-folded entry -> its position in the resulting list
    positionOf.reserve(entries.size() + fileNames.size());

    int kept = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const QString key = entries[i].toCaseFolded();
        if (positionOf.contains(key)) {
            addition.repeatsToRemove.prepend(i);
            continue;
        }
        positionOf.insert(key, kept++);
    }

    std::optional<int> lastMatch;
    for (int i = fileNames.size() - 1; i >= 0; --i) {
        lastMatch.reset();
        if (!selected.value(i))
            continue;
        const QString path = composeGamePath(folder, fileNames[i]);
        const QString key = path.toCaseFolded();
        const auto present = positionOf.constFind(key);
        if (present != positionOf.constEnd()) {
            lastMatch = *present;
            continue;
        }
        positionOf.insert(key, kept++);
        addition.appended.append(path);
    }

    addition.resultingCount = kept;
    if (lastMatch)
        addition.selection = lastMatch;
    else if (kept > 0)
        addition.selection = kept - 1;
    return addition;
}

int movedPosition(int position, int count, bool down)
{
    if (position < 0)
        return -1;
    if (down)
        return position + 1 > count - 1 ? 0 : position + 1;
    return position - 1 < 0 ? count - 1 : position - 1;
}

} // namespace multirom
