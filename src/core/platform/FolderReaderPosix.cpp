// Reading a folder on POSIX systems: one pass of readdir, names decoded only when wanted.
#include "platform/FolderReader.h"

#include "platform/Platform.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

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
    finishListing(listing, query);
    return listing;
}

} // namespace platform
