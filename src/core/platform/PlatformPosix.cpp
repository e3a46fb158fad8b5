// The system's answers on Linux and the other POSIX systems.
#include "platform/Platform.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <csignal>

#include <sys/stat.h>

namespace platform {

QChar separator()
{
    return QLatin1Char('/');
}

QString primaryRoot()
{
    return QStringLiteral("/");
}

QStringList tidiedOutputRoots()
{
    return {QStringLiteral("/")};
}

QString formFaceFamily()
{
    return QStringLiteral("Liberation Sans");
}

bool fileNamesAreCaseSensitive()
{
#ifdef Q_OS_MACOS
    return false;
#else
    return true;
#endif
}

bool fileNamesKeepOuterBlanks()
{
    return true;
}

bool interpretsBatchFilesItself()
{
    return true;
}

BatchEncoder batchFileEncoder()
{
    return [](const QString& text) -> std::optional<QByteArray> {
        QByteArray bytes = text.toLocal8Bit();
        if (QString::fromLocal8Bit(bytes) != text)
            return std::nullopt; // a character the encoding cannot carry, such as a lone surrogate
        return bytes;
    };
}

BatchEncoder toolArgumentEncoder()
{
    return [](const QString& text) -> std::optional<QByteArray> { return QFile::encodeName(text); };
}

QString foreignProgramHint(const QString& path)
{
    // Read without waiting: a FIFO where the tool should be must not hang the window.
    if (!readOrdinaryFileHead(path, 2).startsWith("MZ"))
        return QString();
    return QStringLiteral("it is a Windows program; to run Windows programs here, install wine and wine-binfmt");
}

QString decodeConsoleOutput(const QByteArray& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

bool nameSurvivesDecoding(const char* name, size_t length)
{
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(name[i]) < 0x80;
    if (ascii)
        return true; // the usual case, decided without decoding
    const QByteArray raw = QByteArray::fromRawData(name, qsizetype(length));
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

void ignoreWriteSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

bool userSettingsExist(const QString& organization)
{
    return QFileInfo::exists(QSettings(QSettings::UserScope, organization).fileName());
}

void removeUserSettings(const QString& organization)
{
    const QSettings settings(QSettings::UserScope, organization);
    if (settings.allKeys().isEmpty())
        QFile::remove(settings.fileName());
}

QString shortPathName(const QString&)
{
    return QString();
}

bool writeText(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

QStringList expandWildcards(const QStringList& arguments)
{
    return arguments; // the shell has expanded them
}

bool isStandardStream(const QString& path)
{
    struct stat named {};
    if (::stat(QFile::encodeName(path).constData(), &named) != 0)
        return false;
    for (const int stream : {1, 2}) {
        struct stat open {};
        if (::fstat(stream, &open) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino)
            return true;
    }
    return false;
}

} // namespace platform
