#include "platform/FolderReader.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifndef Q_OS_WIN
#include <cerrno>
#include <dirent.h>
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

} // namespace

FolderListing readFolder(const QString& folder, FolderParts parts)
{
    FolderListing listing;
    const bool wantFolders = parts != FolderParts::Files;
    const bool wantFiles = parts != FolderParts::Folders;
    const int failure = forEachEntry(folder, [&](const dirent* entry, int fd) {
        const EntryKind kind = kindOf(fd, entry);
        if (kind == EntryKind::Folder && wantFolders)
            listing.folders.append(QFile::decodeName(entry->d_name));
        else if (kind == EntryKind::File && wantFiles)
            listing.files.append(QFile::decodeName(entry->d_name));
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
    QHash<QString, QString> found;
    QHash<QString, QString> byFolded;
    for (const QString& name : wanted)
        byFolded.insert(name.toCaseFolded(), name);
    forEachEntry(folder, [&](const dirent* entry, int fd) {
        const QString name = QFile::decodeName(entry->d_name);
        const auto match = byFolded.constFind(name.toCaseFolded());
        if (match != byFolded.constEnd() && !found.contains(*match) && kindOf(fd, entry) == EntryKind::File)
            found.insert(*match, name);
    });
    return found;
}

#else // Q_OS_WIN

FolderListing readFolder(const QString& folder, FolderParts parts)
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
    if (parts != FolderParts::Folders)
        listing.files = dir.entryList(QDir::Files);
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
