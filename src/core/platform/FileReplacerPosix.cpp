// Building a file beside the one it replaces on POSIX systems: a private temporary file, filled in
// the kernel where it can, renamed over the target in one step.
#include "platform/FileReplacer.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

struct FileReplacer::Private {
    QByteArray target;
    QByteArray temporaryPath;
    int fd = -1;
    bool committed = false;
    std::vector<char> buffer;
};

FileReplacer::FileReplacer(QString destination) : m_destination(std::move(destination)), d(new Private) {}

FileReplacer::~FileReplacer()
{
    if (d->fd >= 0)
        ::close(d->fd);
    if (!d->committed && !d->temporaryPath.isEmpty())
        ::unlink(d->temporaryPath.constData());
}

FileReplacer::Result FileReplacer::open()
{
    QString target;
    if (const Result refused = checkTarget(target); refused != Result::Ok)
        return refused;
    d->target = QFile::encodeName(target);
    // The new file starts next to the one it replaces, so that the final rename stays on one
    // file system; its name is short, so that it fits wherever the target's own name fits.
    QByteArray pattern =
        QFile::encodeName(QFileInfo(target).absolutePath()) + '/' + newFilePrefix(NewFileKind::Product) + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        m_errno = errno;
        return Result::DestinationUnwritable;
    }
    d->fd = fd;
    d->temporaryPath = pattern;
    // mkstemp creates the file private to us; give it the mode of the file it replaces, or
    // the mode a new file gets.
    struct stat st;
    if (::stat(d->target.constData(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    return Result::Ok;
}

FileReplacer::Result FileReplacer::append(const QString& source)
{
    // O_NONBLOCK: a FIFO put where a game was would otherwise hold the copy, and Stop with it, until a
    // writer came. Only an ordinary file is copied.
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0) {
        m_errno = errno;
        return errno == ENOENT || errno == ENOTDIR ? Result::SourceMissing : Result::SourceUnreadable;
    }
    struct stat st;
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_errno = S_ISREG(st.st_mode) ? errno : EISDIR; // not a file: as cmd refuses a folder
        ::close(in);
        return Result::SourceUnreadable;
    }
    Result result = Result::Ok;
    bool kernelCopy = true;
    for (;;) {
        if (cancelled()) {
            result = Result::Cancelled;
            break;
        }
        if (kernelCopy) {
            // In-kernel copy: no bytes pass through this process at all.
            const ssize_t copied = ::copy_file_range(in, nullptr, d->fd, nullptr, chunkSize * 16, 0);
            if (copied > 0)
                continue;
            if (copied == 0)
                break;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) {
                kernelCopy = false;
                continue;
            }
            m_errno = errno;
            result = errno == EIO ? Result::SourceUnreadable : Result::DestinationUnwritable;
            break;
        }
        if (d->buffer.empty())
            d->buffer.resize(chunkSize);
        const ssize_t got = ::read(in, d->buffer.data(), d->buffer.size());
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            m_errno = errno;
            result = Result::SourceUnreadable;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(d->fd, d->buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                m_errno = errno;
                ::close(in);
                return Result::DestinationUnwritable;
            }
            done += put;
        }
    }
    ::close(in);
    return result;
}

FileReplacer::Result FileReplacer::commit()
{
    if (::close(d->fd) != 0) {
        d->fd = -1;
        m_errno = errno;
        return Result::DestinationUnwritable;
    }
    d->fd = -1;
    // An empty file in the way (the compile's own new multirom) goes first: renaming over a file
    // makes ext4 write the new one to disk at once, and nothing of an empty file can be lost.
    struct stat st;
    if (::lstat(d->target.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0)
        ::unlink(d->target.constData());
    if (::rename(d->temporaryPath.constData(), d->target.constData()) != 0) {
        m_errno = errno;
        return Result::DestinationUnwritable;
    }
    d->committed = true;
    return Result::Ok;
}

} // namespace platform
