// What reading a folder is on every system; the reading itself is in FolderReaderPosix.cpp and
// FolderReaderWindows.cpp.
#include "platform/FolderReader.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace platform {

QString folderUnreadableMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("cannot read the folder ") + path + QStringLiteral(": ") + reason;
}

void sortNamesForDisplay(QStringList& names)
{
    // Each name is folded once, not once per comparison, into bytes that compare with memcmp.
    std::vector<std::pair<std::string, int>> keyed;
    keyed.reserve(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i)
        keyed.emplace_back(names[i].toCaseFolded().toStdString(), i);
    std::sort(keyed.begin(), keyed.end(), [&names](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : names[a.second] < names[b.second];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto& entry : keyed)
        sorted.append(std::move(names[entry.second]));
    names = std::move(sorted);
}

void finishListing(FolderListing& listing, const FolderQuery& query)
{
    if (query.sortForDisplay) {
        sortNamesForDisplay(listing.folders);
        sortNamesForDisplay(listing.files);
    }
}

} // namespace platform
