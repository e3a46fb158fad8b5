// The answers that are the same on every system; the rest are in PlatformPosix.cpp and
// PlatformWindows.cpp.
#include "platform/Platform.h"

#include <cstring>

namespace platform {

Qt::CaseSensitivity fileNameCaseSensitivity()
{
    return fileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

QString systemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

bool isHiddenName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

} // namespace platform
