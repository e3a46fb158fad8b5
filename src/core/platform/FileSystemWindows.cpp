// Files and folders on Windows: identities from the file index, reasons from the system's own texts.
#include "platform/FileSystem.h"

#include "platform/FolderPath.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <windows.h>

namespace platform {

namespace {
// As many links as the system itself follows before it calls it a loop.
constexpr int mostLinksFollowed = 40;
} // namespace

bool isOrdinaryFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

QByteArray readOrdinaryFileHead(const QString& path, int maxBytes)
{
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return QByteArray();
    QByteArray head;
    // A pipe or a device (CON, LPT1, COM1) is never read: only a file on a disk.
    if (GetFileType(file) == FILE_TYPE_DISK) {
        head.resize(maxBytes);
        DWORD got = 0;
        if (!ReadFile(file, head.data(), DWORD(maxBytes), &got, nullptr))
            got = 0;
        head.truncate(int(got));
    }
    CloseHandle(file);
    return head;
}

WriteTarget writeTarget(const QString& path)
{
    QString walk = path;
    for (int hops = 0; hops <= mostLinksFollowed; ++hops) {
        const QFileInfo info(walk);
        if (info.isSymLink()) {
            walk = info.symLinkTarget();
            continue;
        }
        if (!info.exists())
            return {WriteTarget::Kind::Missing, walk};
        return {info.isFile() ? WriteTarget::Kind::Ordinary : WriteTarget::Kind::NotAFile, walk};
    }
    return {WriteTarget::Kind::LinkLoop, path};
}

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp;
    // Opened for nothing but its attributes, through links, as the tool would write it.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return stamp;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        stamp.exists = true;
        stamp.device = info.dwVolumeSerialNumber;
        stamp.inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        stamp.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
        // In the system's own unit of 100 nanoseconds.
        stamp.modified =
            qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    }
    CloseHandle(file);
    return stamp;
}

std::optional<QString> nameProblem(const QString& path)
{
    constexpr int limit = 255; // UTF-16 units in one name, on every file system Windows writes
    const int length = int(QFileInfo(path).fileName().size());
    if (length <= limit)
        return std::nullopt;
    return QStringLiteral("the name is too long for the file system: it takes %1 characters, at most %2 fit")
        .arg(length)
        .arg(limit);
}

Deletion deleteFile(const QString& path)
{
    Deletion deletion;
    // The system does not set errno here: the reason comes from the file's own error.
    QFile file(path);
    if (file.remove()) {
        deletion.gone = true;
        return deletion;
    }
    const QFileInfo left(path);
    deletion.gone = !left.exists() && !left.isSymLink();
    deletion.reason = file.errorString();
    return deletion;
}

NewFile createFileBeside(const QString& target, NewFileKind kind)
{
    QTemporaryFile file(QFileInfo(target).absolutePath() + QLatin1Char('/') + QString::fromLatin1(newFilePrefix(kind)) +
                        QStringLiteral("XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return {QString(), file.errorString()};
    return {QDir::toNativeSeparators(file.fileName()), QString()};
}

bool processRuns(qint64 processId)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED; // there, but not ours to open
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

ReplacementWay replacementWay(const QString& target)
{
    // A file with other names (hard links) would lose them to a rename; a folder's rights show only
    // when a file is made there, and the compile writes into the file then.
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(target).utf16()), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION information{};
    const bool linked = GetFileInformationByHandle(file, &information) && information.nNumberOfLinks > 1;
    CloseHandle(file);
    return {linked, std::nullopt};
}

std::optional<QString> replaceFile(const QString& target, const QString& replacement)
{
    const auto* to = reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(target).utf16());
    const auto* from = reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(replacement).utf16());
    if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return std::nullopt;
    return windowsErrorText(GetLastError(), target);
}

StartFolder startFolder()
{
    const QString current = QDir::currentPath();
    if (current.isEmpty())
        return {QString(), QStringLiteral("The system cannot find the path specified.")};
    return {normalisedFolderPath(current), QString()};
}

bool isUndecodableName(const QString&)
{
    return false; // names are text here, and every one the system holds goes whole through its wide calls
}

} // namespace platform
