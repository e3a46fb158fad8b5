#include "platform/Platform.h"

#include <QFile>

#include <csignal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

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

QString formFaceFamily()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Microsoft Sans Serif");
#else
    return QStringLiteral("Liberation Sans");
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

Qt::CaseSensitivity fileNameCaseSensitivity()
{
    return fileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

bool fileNamesKeepOuterBlanks()
{
#ifdef Q_OS_WIN
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

BatchEncoder batchFileEncoder()
{
#ifdef Q_OS_WIN
    return [](const QString& text) -> std::optional<QByteArray> {
        if (text.isEmpty())
            return QByteArray();
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        const int length = int(text.size());
        BOOL lacking = FALSE;
        const int size =
            WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &lacking);
        if (size <= 0 || lacking)
            return std::nullopt;
        QByteArray bytes(size, '\0');
        WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, &lacking);
        if (lacking)
            return std::nullopt;
        return bytes;
    };
#else
    return [](const QString& text) -> std::optional<QByteArray> {
        QByteArray bytes = text.toLocal8Bit();
        if (QString::fromLocal8Bit(bytes) != text)
            return std::nullopt; // a character the encoding cannot carry, such as a lone surrogate
        return bytes;
    };
#endif
}

QString foreignProgramHint(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QString();
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(2) != "MZ")
        return QString();
    return QStringLiteral("it is a Windows program; to run Windows programs here, install wine and wine-binfmt");
#endif
}

void ignoreWriteSignals()
{
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace platform
