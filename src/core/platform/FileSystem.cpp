#include "platform/FileSystem.h"

#include "platform/FolderPath.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {
// As many links as the system itself follows before it calls it a loop.
constexpr int mostLinksFollowed = 40;
} // namespace

QString systemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString inputFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("file not found: ") + path;
    if (!info.isFile() || !info.isReadable())
        return QStringLiteral("cannot read the file: ") + path;
    return QString();
}

bool sameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first.compare(QFileInfo(b).canonicalFilePath(), fileNameCaseSensitivity()) == 0;
}

QString replacementTarget(const QString& path)
{
    const WriteTarget target = writeTarget(path);
    return target.writable() ? target.path : QString();
}

QString outputPlaceProblem(const QString& path, const QString& product)
{
    switch (writeTarget(path).kind) {
    case WriteTarget::Kind::NotAFile:
        return QStringLiteral("the output is not an ordinary file and cannot be replaced by the ") + product +
               QStringLiteral(": ") + path;
    case WriteTarget::Kind::LinkLoop:
        return QStringLiteral("the output is a link that leads round in a circle of links: ") + path;
    case WriteTarget::Kind::Ordinary:
    case WriteTarget::Kind::Missing:
        break;
    }
    return QString();
}

QString unwrittenReason(const QString& path, const FileStamp& before, const QString& writer)
{
    const FileStamp after = FileStamp::of(path);
    if (!after.exists)
        return path + QStringLiteral(" was not written");
    if (after == before)
        return writer + QStringLiteral(" ended without writing ") + path +
               QStringLiteral("; the file there is the one from before");
    if (after.size == 0)
        return path + QStringLiteral(" is empty");
    return QString();
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modified == other.modified;
}

namespace {

// Where a path leads, for comparing places that need not exist yet: the file itself where it
// exists, else its name in its folder with the folder's links resolved.
QString resolvedPlace(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

bool samePlace(const QString& a, const QString& b)
{
    if (QFileInfo::exists(a) && QFileInfo::exists(b))
        return sameFile(a, b);
    return resolvedPlace(a).compare(resolvedPlace(b), fileNameCaseSensitivity()) == 0;
}

bool isReadOnlyFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return (info.permissions() & writable) == 0 || !info.isWritable();
}

bool isUndecodableName(const QString& path)
{
    if (QFile::decodeName(QFile::encodeName(path)) != path)
        return true; // a character no name on disk can hold, such as a lone surrogate
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo(path).isSymLink() && !QFileInfo::exists(path);
}

QStringList fallbackFolders()
{
    return {normalisedFolderPath(QDir::homePath()), primaryRoot()};
}

#ifndef Q_OS_WIN

bool isOrdinaryFile(const QString& path)
{
    if (path.isEmpty() || isHiddenName(QFileInfo(path).fileName()))
        return false;
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode);
}

WriteTarget writeTarget(const QString& path)
{
    QByteArray walk = QFile::encodeName(path);
    for (int hops = 0; hops <= mostLinksFollowed; ++hops) {
        struct stat st;
        if (::lstat(walk.constData(), &st) != 0)
            return {WriteTarget::Kind::Missing, QFile::decodeName(walk)}; // writing there tells why, if it cannot
        if (S_ISREG(st.st_mode))
            return {WriteTarget::Kind::Ordinary, QFile::decodeName(walk)};
        if (!S_ISLNK(st.st_mode))
            return {WriteTarget::Kind::NotAFile, QFile::decodeName(walk)};
        std::vector<char> buffer(size_t(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t length = ::readlink(walk.constData(), buffer.data(), buffer.size() - 1);
        if (length < 0)
            return {WriteTarget::Kind::NotAFile, QFile::decodeName(walk)};
        QByteArray next(buffer.data(), int(length));
        if (!next.startsWith('/')) {
            const int slash = walk.lastIndexOf('/');
            next.prepend(slash < 0 ? QByteArray() : walk.left(slash + 1));
        }
        walk = next;
    }
    return {WriteTarget::Kind::LinkLoop, path};
}

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
    stamp.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

QString nameProblem(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.fileName());
    long limit = ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    if (name.size() <= limit)
        return QString();
    return QStringLiteral("the name is too long for the file system: it takes %1 bytes, at most %2 fit")
        .arg(name.size())
        .arg(limit);
}

Deletion deleteFile(const QString& path)
{
    Deletion deletion;
    if (::unlink(QFile::encodeName(path).constData()) == 0) {
        deletion.gone = true;
        return deletion;
    }
    const int failure = errno;
    deletion.gone = failure == ENOENT;
    deletion.reason = systemErrorText(failure);
    return deletion;
}

NewFile createFileBeside(const QString& target)
{
    // A short name, so that it fits wherever the target's own name fits.
    QByteArray pattern = QFile::encodeName(QFileInfo(target).absolutePath()) + "/.vm-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return {QString(), systemErrorText(errno)};
    ::close(fd);
    return {QFile::decodeName(pattern), QString()};
}

QString replaceFile(const QString& target, const QString& replacement)
{
    const QByteArray to = QFile::encodeName(target);
    const QByteArray from = QFile::encodeName(replacement);
    struct stat st;
    mode_t mode = 0;
    if (::stat(to.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    if (::chmod(from.constData(), mode) != 0 || ::rename(from.constData(), to.constData()) != 0)
        return systemErrorText(errno);
    return QString();
}

StartFolder startFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return {QString(), systemErrorText(errno)};
        buffer.resize(buffer.size() * 2);
    }
    const size_t length = std::strlen(buffer.data());
    const QString decoded = QFile::decodeName(QByteArray(buffer.data(), int(length)));
    if (!nameSurvivesDecoding(buffer.data(), length))
        return {QString(), QStringLiteral("its name is not valid text: ") + decoded};
    return {normalisedFolderPath(decoded), QString()};
}

#else // Q_OS_WIN

bool isOrdinaryFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

WriteTarget writeTarget(const QString& path)
{
    QString walk = path;
    for (int hops = 0; hops <= mostLinksFollowed; ++hops) {
        const QFileInfo info(walk);
        if (info.isSymLink()) {
            walk = info.symLinkTarget();
            continue;
        }
        if (!info.exists())
            return {WriteTarget::Kind::Missing, walk};
        return {info.isFile() ? WriteTarget::Kind::Ordinary : WriteTarget::Kind::NotAFile, walk};
    }
    return {WriteTarget::Kind::LinkLoop, path};
}

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp;
    // Opened for nothing but its attributes, through links, as the tool would write it.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        stamp.exists = true;
        stamp.device = info.dwVolumeSerialNumber;
        stamp.inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        stamp.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
        // In the system's own unit of 100 nanoseconds.
        stamp.modified =
            qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    }
    CloseHandle(file);
    return stamp;
}

QString nameProblem(const QString& path)
{
    constexpr int limit = 255; // UTF-16 units in one name, on every file system Windows writes
    const int length = int(QFileInfo(path).fileName().size());
    if (length <= limit)
        return QString();
    return QStringLiteral("the name is too long for the file system: it takes %1 characters, at most %2 fit")
        .arg(length)
        .arg(limit);
}

Deletion deleteFile(const QString& path)
{
    Deletion deletion;
    // The system does not set errno here: the reason comes from the file's own error.
    QFile file(path);
    if (file.remove()) {
        deletion.gone = true;
        return deletion;
    }
    const QFileInfo left(path);
    deletion.gone = !left.exists() && !left.isSymLink();
    deletion.reason = file.errorString();
    return deletion;
}

NewFile createFileBeside(const QString& target)
{
    QTemporaryFile file(QFileInfo(target).absolutePath() + QStringLiteral("/.vm-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return {QString(), file.errorString()};
    return {QDir::toNativeSeparators(file.fileName()), QString()};
}

QString replaceFile(const QString& target, const QString& replacement)
{
    const auto* to = reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(target).utf16());
    const auto* from = reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(replacement).utf16());
    if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return QString();
    return windowsErrorText(GetLastError(), target);
}

StartFolder startFolder()
{
    const QString current = QDir::currentPath();
    if (current.isEmpty())
        return {QString(), QStringLiteral("The system cannot find the path specified.")};
    return {normalisedFolderPath(current), QString()};
}

#endif

} // namespace platform
