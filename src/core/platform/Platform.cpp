#include "platform/Platform.h"

#include <QDir>
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray head = file.read(64);
    if (!head.startsWith("MZ"))
        return QString();
#ifdef Q_OS_WIN
    // A Windows program says where its own header starts, at offset 0x3C; a DOS program has none.
    if (head.size() == 64) {
        const auto at = quint32(quint8(head[0x3C])) | quint32(quint8(head[0x3D])) << 8 |
                        quint32(quint8(head[0x3E])) << 16 | quint32(quint8(head[0x3F])) << 24;
        if (file.seek(at) && file.read(4) == QByteArray("PE\0\0", 4))
            return QString();
    }
    return QStringLiteral("it is a DOS or 16-bit program, and 64-bit Windows cannot run those");
#else
    return QStringLiteral("it is a Windows program; to run Windows programs here, install wine and wine-binfmt");
#endif
}

QString decodeConsoleOutput(const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    if (bytes.isEmpty())
        return QString();
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0)
        codePage = GetOEMCP(); // Vellmore has no console of its own: the one its tools would get
    const int length = MultiByteToWideChar(codePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(codePage, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        length);
    return text;
#else
    return QString::fromLocal8Bit(bytes);
#endif
}

#ifdef Q_OS_WIN
QString windowsErrorText(unsigned long code, const QString& path)
{
    wchar_t* buffer = nullptr;
    // Without IGNORE_INSERTS a text that holds "%1" (error 193, for one) cannot be had at all.
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, int(length)).trimmed()
                              : QStringLiteral("system error %1").arg(code);
    if (buffer)
        LocalFree(buffer);
    text.replace(QLatin1String("%1"), QDir::toNativeSeparators(path));
    return text;
}
#endif

void ignoreWriteSignals()
{
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace platform
