#include "platform/FolderReader.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

QString folderUnreadableMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("cannot read the folder ") + path + QStringLiteral(": ") + reason;
}

bool isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
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

namespace {

void finish(FolderListing& listing, const FolderQuery& query)
{
    if (query.sortForDisplay) {
        sortNamesForDisplay(listing.folders);
        sortNamesForDisplay(listing.files);
    }
}

} // namespace

#ifndef Q_OS_WIN

namespace {

enum class EntryKind { Folder, File, Other };

EntryKind kindOf(int dirFd, const dirent* entry)
{
    const unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN || type == DT_LNK) {
        struct stat st;
        if (fstatat(dirFd, entry->d_name, &st, 0) != 0)
            return EntryKind::Other;
        if (S_ISDIR(st.st_mode))
            return EntryKind::Folder;
        return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
    }
    if (type == DT_DIR)
        return EntryKind::Folder;
    return type == DT_REG ? EntryKind::File : EntryKind::Other;
}

QString decoded(const char* name, size_t length)
{
    return QFile::decodeName(QByteArray::fromRawData(name, qsizetype(length)));
}

} // namespace

FolderListing readFolder(const QString& folder, const FolderQuery& query)
{
    FolderListing listing;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        listing.error = systemErrorText(errno);
        return listing;
    }
    QList<QByteArray> wanted;
    for (const QString& name : query.findIgnoringCase)
        wanted.append(name.toUtf8());

    const int fd = dirfd(dir);
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.') // hidden, and "." and ".."
            continue;
        const size_t length = std::strlen(name);
        int wantedIndex = -1;
        for (int i = 0; i < wanted.size() && wantedIndex < 0; ++i) {
            if (qstricmp(name, wanted[i].constData()) == 0)
                wantedIndex = i;
        }
        const bool fileWanted = query.files && (!query.acceptFile || query.acceptFile(name, length));
        if (!query.folders && !fileWanted && wantedIndex < 0)
            continue; // decided without a look at the entry's kind
        const EntryKind kind = kindOf(fd, entry);
        const bool listed = (kind == EntryKind::Folder && query.folders) || (kind == EntryKind::File && fileWanted);
        if (listed && !nameSurvivesDecoding(name, length))
            listing.unusable.insert(decoded(name, length));
        if (kind == EntryKind::Folder && query.folders) {
            listing.folders.append(decoded(name, length));
        } else if (kind == EntryKind::File) {
            if (fileWanted)
                listing.files.append(decoded(name, length));
            if (wantedIndex >= 0 && !listing.found.contains(query.findIgnoringCase[wantedIndex]))
                listing.found.insert(query.findIgnoringCase[wantedIndex], decoded(name, length));
        }
        errno = 0;
    }
    const int failure = errno;
    closedir(dir);
    if (failure != 0) {
        listing.error = systemErrorText(failure);
        return FolderListing{false, listing.error, {}, {}, {}, {}};
    }
    listing.readable = true;
    finish(listing, query);
    return listing;
}

bool nameSurvivesDecoding(const char* name, size_t length)
{
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(name[i]) < 0x80;
    if (ascii)
        return true; // the usual case, decided without decoding
    const QByteArray raw = QByteArray::fromRawData(name, qsizetype(length));
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

#else // Q_OS_WIN

FolderListing readFolder(const QString& folder, const FolderQuery& query)
{
    FolderListing listing;
    QDir dir(folder);
    const QFileInfo info(folder);
    if (!info.exists()) {
        listing.error = QStringLiteral("The system cannot find the path specified.");
        return listing;
    }
    if (!info.isDir()) {
        listing.error = QStringLiteral("The directory name is invalid.");
        return listing;
    }
    if (!dir.isReadable()) {
        listing.error = QStringLiteral("Access is denied.");
        return listing;
    }
    listing.readable = true;
    if (query.folders)
        listing.folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QByteArray raw = name.toUtf8();
        if (query.files && (!query.acceptFile || query.acceptFile(raw.constData(), size_t(raw.size()))))
            listing.files.append(name);
        for (const QString& want : query.findIgnoringCase) {
            if (name.compare(want, Qt::CaseInsensitive) == 0 && !listing.found.contains(want))
                listing.found.insert(want, name);
        }
    }
    finish(listing, query);
    return listing;
}

bool nameSurvivesDecoding(const char*, size_t)
{
    return true; // the system hands out names as text
}

#endif

} // namespace platform
