#include "multirom/GameList.h"

#include "compat/QtCompat.h"
#include "multirom/PathRules.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace multirom {

namespace {

// The hash of a path letter case aside. Plain ASCII paths, the usual kind, are folded into a
// buffer on the stack and hashed from there; others are hashed from their folded copy, which
// for ASCII letters is the same thing.
// Optimised fully where the compiler allows it: the folding loop is what a large Add spends
// its time in, and vectorised it is several times faster.
#if defined(__GNUC__) && !defined(__clang__)
#define VELLMORE_VECTORISE __attribute__((optimize("O3")))
#else
#define VELLMORE_VECTORISE
#endif

VELLMORE_VECTORISE size_t foldedHash(QStringView text)
{
    constexpr qsizetype bufferSize = 512;
    const qsizetype size = text.size();
    if (size <= bufferSize) {
        const char16_t* in = text.utf16();
        char16_t folded[bufferSize];
        char16_t seen = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t unit = in[i];
            seen |= unit;
            const char16_t capital = char16_t(unit - u'A') < 26 ? 1 : 0;
            folded[i] = char16_t(unit | (capital << 5)); // capitals A to Z become a to z
        }
        if (seen < 0x80)
            return qHashBits(folded, size_t(size) * sizeof(char16_t), 0);
    }
    return qHash(text.toString().toCaseFolded(), 0);
}

// A path looked up as the file system compares names (letter case aside, or exactly), hashed
// once and without a folded copy kept: a folder of thousands of games is matched against the
// list with no allocation per entry.
struct Folded {
    Folded(QStringView path, Qt::CaseSensitivity cs)
        : text(path), hash(cs == Qt::CaseSensitive ? qHash(path, 0) : foldedHash(path)), sensitivity(cs)
    {
    }

    QStringView text;
    size_t hash;
    Qt::CaseSensitivity sensitivity;

    bool operator==(const Folded& other) const
    {
        return hash == other.hash && text.compare(other.text, sensitivity) == 0;
    }
};

compat::HashValue qHash(const Folded& key, compat::HashValue seed)
{
    return key.hash ^ seed;
}

} // namespace

GameListAddition planAddition(const QStringList& entries, const QString& folder, const QStringList& fileNames,
                              const QVector<bool>& selected, Qt::CaseSensitivity names)
{
    GameListAddition addition;
    // Entry, letter case aside -> its position in the resulting list. The views point into
    // entries and into the appended paths, which outlive the map.
    QHash<Folded, int> positionOf;
    positionOf.reserve(entries.size() + fileNames.size());

    int kept = 0;
    for (int i = 0; i < entries.size(); ++i) {
        const Folded key(entries[i], names);
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
        const auto present = positionOf.constFind(Folded(path, names));
        if (present != positionOf.constEnd()) {
            lastMatch = *present;
            continue;
        }
        addition.appended.append(path);
        positionOf.insert(Folded(addition.appended.constLast(), names), kept++);
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

std::optional<QString> listSizeRefusal(int count, int added)
{
    if (count <= maxGameListEntries)
        return std::nullopt;
    return QStringLiteral("The game list holds at most %1 games; these %2 would make %3. Nothing was added.")
        .arg(maxGameListEntries)
        .arg(added)
        .arg(count);
}

QStringList gameListOf(const QStringList& files, Qt::CaseSensitivity names)
{
    QStringList list;
    for (const QString& game : files) {
        const QFileInfo file(game);
        const GameListAddition addition =
            planAddition(list, QDir::toNativeSeparators(file.absolutePath()), {file.fileName()}, {true}, names);
        for (const int position : addition.repeatsToRemove)
            list.removeAt(position);
        list += addition.appended;
    }
    return list;
}

} // namespace multirom
