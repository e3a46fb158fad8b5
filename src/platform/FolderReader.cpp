#include "platform/FolderReader.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <cerrno>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#endif

namespace platform {

QString systemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

bool deleteFile(const QString& path, int* errorNumber)
{
    QFile file(path);
    errno = 0;
    if (file.remove())
        return true;
    *errorNumber = errno != 0 ? errno : EACCES;
    return false;
}

bool isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

#ifndef Q_OS_WIN

namespace {

enum class EntryKind { Folder, File, Other };

EntryKind kindOf(int dirFd, const dirent* entry)
{
    unsigned char type = entry->d_type;
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

// Calls visit(name, kind) for every entry that is not hidden; returns 0 or the errno of the failure.
template <typename Visit> int forEachEntry(const QString& folder, Visit visit)
{
    const QByteArray native = QFile::encodeName(folder);
    DIR* dir = opendir(native.constData());
    if (!dir)
        return errno;
    const int fd = dirfd(dir);
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            visit(entry, fd);
        errno = 0;
    }
    const int failure = errno;
    closedir(dir);
    return failure;
}

QString decoded(const char* name, size_t length)
{
    return QString::fromUtf8(name, qsizetype(length));
}

} // namespace

FolderListing readFolder(const QString& folder, FolderParts parts, const RawNameFilter& acceptFile)
{
    FolderListing listing;
    const bool wantFolders = parts != FolderParts::Files;
    const bool wantFiles = parts != FolderParts::Folders;
    const int failure = forEachEntry(folder, [&](const dirent* entry, int fd) {
        const size_t length = std::strlen(entry->d_name);
        if (wantFiles && !wantFolders && acceptFile && !acceptFile(entry->d_name, length))
            return; // cheap test first: most names of a large folder stop here
        const EntryKind kind = kindOf(fd, entry);
        if (kind == EntryKind::Folder && wantFolders)
            listing.folders.append(decoded(entry->d_name, length));
        else if (kind == EntryKind::File && wantFiles && (!acceptFile || acceptFile(entry->d_name, length)))
            listing.files.append(decoded(entry->d_name, length));
    });
    listing.readable = failure == 0;
    if (failure != 0) {
        listing.error = systemErrorText(failure);
        listing.folders.clear();
        listing.files.clear();
    }
    return listing;
}

bool isOrdinaryFile(const QString& path)
{
    if (path.isEmpty() || isHiddenName(QFileInfo(path).fileName()))
        return false;
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode);
}

QHash<QString, QString> findOrdinaryFilesIgnoringCase(const QString& folder, const QStringList& wanted)
{
    // The wanted names are plain ASCII, so the comparison works on the bytes as stored:
    // no name of the folder needs decoding unless it matches.
    QList<QByteArray> wantedBytes;
    for (const QString& name : wanted)
        wantedBytes.append(name.toUtf8());
    QHash<QString, QString> found;
    forEachEntry(folder, [&](const dirent* entry, int fd) {
        for (int i = 0; i < wantedBytes.size(); ++i) {
            if (strcasecmp(entry->d_name, wantedBytes[i].constData()) == 0 && !found.contains(wanted[i]) &&
                kindOf(fd, entry) == EntryKind::File)
                found.insert(wanted[i], decoded(entry->d_name, std::strlen(entry->d_name)));
        }
    });
    return found;
}

#else // Q_OS_WIN

FolderListing readFolder(const QString& folder, FolderParts parts, const RawNameFilter& acceptFile)
{
    FolderListing listing;
    QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        listing.error = QStringLiteral("The folder cannot be read.");
        return listing;
    }
    listing.readable = true;
    if (parts != FolderParts::Files)
        listing.folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (parts != FolderParts::Folders) {
        for (const QString& name : dir.entryList(QDir::Files)) {
            const QByteArray raw = name.toUtf8();
            if (!acceptFile || acceptFile(raw.constData(), size_t(raw.size())))
                listing.files.append(name);
        }
    }
    return listing;
}

bool isOrdinaryFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QHash<QString, QString> findOrdinaryFilesIgnoringCase(const QString& folder, const QStringList& wanted)
{
    QHash<QString, QString> found;
    for (const QString& name : wanted) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (info.isFile() && !info.isHidden())
            found.insert(name, name);
    }
    return found;
}

#endif

} // namespace platform
