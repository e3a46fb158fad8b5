// Files and folders on POSIX systems: links followed by hand, identities from stat, errno's reasons.
#include "platform/FileSystem.h"

#include "platform/FolderPath.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// As many links as the system itself follows before it calls it a loop.
constexpr int mostLinksFollowed = 40;
} // namespace

bool isOrdinaryFile(const QString& path)
{
    if (path.isEmpty() || isHiddenName(QFileInfo(path).fileName()))
        return false;
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode);
}

QByteArray readOrdinaryFileHead(const QString& path, int maxBytes)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer that never comes.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray head;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        head.resize(maxBytes);
        qsizetype got = 0;
        while (got < maxBytes) {
            const ssize_t n = ::read(fd, head.data() + got, size_t(maxBytes - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        head.truncate(got);
    }
    ::close(fd);
    return head;
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

std::optional<QString> nameProblem(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.fileName());
    long limit = ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    if (name.size() <= limit)
        return std::nullopt;
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

NewFile createFileBeside(const QString& target, NewFileKind kind)
{
    // A short name, so that it fits wherever the target's own name fits.
    QByteArray pattern = QFile::encodeName(QFileInfo(target).absolutePath()) + '/' + newFilePrefix(kind) + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return {QString(), systemErrorText(errno)};
    ::close(fd);
    return {QFile::decodeName(pattern), QString()};
}

bool processRuns(qint64 processId)
{
    return processId > 0 && (::kill(pid_t(processId), 0) == 0 || errno == EPERM);
}

ReplacementWay replacementWay(const QString& target)
{
    const QString folder = QFileInfo(target).absolutePath();
    const QByteArray folderName = QFile::encodeName(folder);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat place {};
    int folderError = 0;
    if (::stat(folderName.constData(), &place) != 0)
        folderError = errno;
    else if (!S_ISDIR(place.st_mode))
        folderError = ENOTDIR;
    else if (::faccessat(AT_FDCWD, folderName.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        folderError = errno;
    const bool folderWritable = folderError == 0;
    struct stat file {};
    if (::stat(targetName.constData(), &file) != 0) {
        if (folderWritable)
            return {};
        return {false,
                QStringLiteral("cannot make a file in the folder %1: %2").arg(folder, systemErrorText(folderError))};
    }
    // A renamed file is this user's and has one name. That is also what a sticky folder (/tmp) asks of
    // a rename over someone else's file.
    const bool renameKeepsAll = file.st_nlink == 1 && file.st_uid == ::geteuid();
    if (folderWritable && renameKeepsAll)
        return {};
    if (::faccessat(AT_FDCWD, targetName.constData(), W_OK, AT_EACCESS) == 0)
        return {true, std::nullopt};
    return {false, QStringLiteral("neither %1 nor its folder %2 may be written: %3")
                       .arg(target, folder, systemErrorText(folderWritable ? errno : folderError))};
}

std::optional<QString> replaceFile(const QString& target, const QString& replacement)
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
    return std::nullopt;
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

bool isUndecodableName(const QString& path)
{
    if (QFile::decodeName(QFile::encodeName(path)) != path)
        return true; // a character no name on disk can hold, such as a lone surrogate
    return path.contains(QChar::ReplacementCharacter) && !QFileInfo(path).isSymLink() && !QFileInfo::exists(path);
}

} // namespace platform
