// The system's answers on Windows.
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <string>

#include <windows.h>

namespace platform {

QChar separator()
{
    return QLatin1Char('\\');
}

QString primaryRoot()
{
    return QStringLiteral("C:\\");
}

QStringList tidiedOutputRoots()
{
    return {QStringLiteral("C:\\"), QStringLiteral("D:\\")};
}

QString formFaceFamily()
{
    return QStringLiteral("Microsoft Sans Serif");
}

bool fileNamesAreCaseSensitive()
{
    return false;
}

bool fileNamesKeepOuterBlanks()
{
    return false;
}

bool interpretsBatchFilesItself()
{
    return false;
}

BatchEncoder batchFileEncoder()
{
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
}

QString foreignProgramHint(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray head = file.read(64);
    if (!head.startsWith("MZ"))
        return QString();
    // A Windows program says where its own header starts, at offset 0x3C; a DOS program has none.
    if (head.size() == 64) {
        const auto at = quint32(quint8(head[0x3C])) | quint32(quint8(head[0x3D])) << 8 |
                        quint32(quint8(head[0x3E])) << 16 | quint32(quint8(head[0x3F])) << 24;
        if (file.seek(at) && file.read(4) == QByteArray("PE\0\0", 4))
            return QString();
    }
    return QStringLiteral("it is a DOS or 16-bit program, and 64-bit Windows cannot run those");
}

QString decodeConsoleOutput(const QByteArray& bytes)
{
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
}

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

bool nameSurvivesDecoding(const char*, size_t)
{
    return true; // the system hands out names as text
}

void ignoreWriteSignals() {}

namespace {

std::wstring settingsKey(const QString& organization)
{
    return (QStringLiteral("Software\\") + organization).toStdWString();
}

} // namespace

bool userSettingsExist(const QString& organization)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKey(organization).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void removeUserSettings(const QString& organization)
{
    if (QSettings(QSettings::UserScope, organization).allKeys().isEmpty())
        RegDeleteTreeW(HKEY_CURRENT_USER, settingsKey(organization).c_str());
}

QString shortPathName(const QString& path)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(path.utf16());
    const DWORD size = GetShortPathNameW(wide, nullptr, 0);
    if (size == 0)
        return QString();
    std::wstring shortPath(size, L'\0');
    const DWORD written = GetShortPathNameW(wide, shortPath.data(), size);
    if (written == 0 || written >= size)
        return QString();
    shortPath.resize(written);
    return QString::fromStdWString(shortPath);
}

} // namespace platform
