// A folder's lock on POSIX systems: flock on the folder itself, so that no file of Vellmore's
// stands in the user's folder for it.
#include "platform/FolderLock.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

struct FolderLock::Private {
    int fd = -1;
    bool held = false;
};

FolderLock::FolderLock(const QString& folder) : d(new Private)
{
    d->fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened so is no place for a compile either: the compile says why.
    d->held = d->fd < 0 || ::flock(d->fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

FolderLock::~FolderLock()
{
    if (d->fd >= 0)
        ::close(d->fd); // and the lock goes with it
}

bool FolderLock::held() const
{
    return d->held;
}

} // namespace platform
