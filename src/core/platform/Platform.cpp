#include "platform/Platform.h"

namespace platform {

QChar separator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

QString primaryRoot()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QStringLiteral("/");
#endif
}

bool fileNamesAreCaseSensitive()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return false;
#else
    return true;
#endif
}

bool interpretsBatchFilesItself()
{
#ifdef Q_OS_WIN
    return false;
#else
    return true;
#endif
}

} // namespace platform
