#include "multirom/GameList.h"

#include "multirom/PathRules.h"

#include <QHash>

namespace multirom {

namespace {

// A path looked up letter case aside, without a folded copy of it: a folder of thousands of
// games is then matched against the list with no allocation per entry.
struct Folded {
    QStringView text;

    bool operator==(const Folded& other) const { return text.compare(other.text, Qt::CaseInsensitive) == 0; }
};

size_t qHash(const Folded& key, size_t seed)
{
    constexpr qsizetype bufferSize = 512;
    char16_t folded[bufferSize];
    const qsizetype size = key.text.size();
    if (size > bufferSize)
        return qHash(key.text.toString().toCaseFolded(), seed);
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = key.text[i];
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            folded[i] = char16_t(unit + (char16_t(unit - u'A') < 26 ? 32 : 0));
        } else if (c.isSurrogate()) {
            return qHash(key.text.toString().toCaseFolded(), seed); // letters beyond the first plane
        } else {
            folded[i] = QChar::toCaseFolded(unit);
        }
    }
    return qHashBits(folded, size_t(size) * sizeof(char16_t), seed);
}

} // namespace

GameListAddition planAddition(const QStringList& entries, const QString& folder, const QStringList& fileNames,
                              const QVector<bool>& selected)
{
    GameListAddition addition;
    // Entry, letter case aside -> its position in the resulting list. The views point into
    // entries and into the appended paths, which outlive the map.
    QHash<Folded, int> positionOf;
    positionOf.reserve(entries.size() + fileNames.size());

    int kept = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const Folded key{entries[i]};
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
        const auto present = positionOf.constFind(Folded{path});
        if (present != positionOf.constEnd()) {
            lastMatch = *present;
            continue;
        }
        addition.appended.append(path);
        positionOf.insert(Folded{addition.appended.constLast()}, kept++);
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
