// What a file replacer is on every system; the building itself is in FileReplacerPosix.cpp and
// FileReplacerWindows.cpp.
#include "platform/FileReplacer.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <cerrno>

namespace platform {

QString FileReplacer::errorText() const
{
    return systemErrorText(m_errno);
}

FileReplacer::Result FileReplacer::checkTarget(QString& target)
{
    target = replacementTarget(m_destination);
    if (target.isEmpty()) {
        m_errno = EINVAL;
        return Result::DestinationNotAFile;
    }
    // Renaming over a file ignores its mode: a read-only file is refused here, as copy refuses it.
    if (isReadOnlyFile(target)) {
        m_errno = EACCES;
        return Result::DestinationUnwritable;
    }
    return Result::Ok;
}

} // namespace platform
