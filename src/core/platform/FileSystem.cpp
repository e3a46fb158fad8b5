// Files and folders as every system answers them; what each system answers its own way is in
// FileSystemPosix.cpp and FileSystemWindows.cpp.
#include "platform/FileSystem.h"

#include "platform/FolderPath.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

std::optional<QString> inputFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("file not found: ") + path;
    if (!info.isFile() || !info.isReadable())
        return QStringLiteral("cannot read the file: ") + path;
    return std::nullopt;
}

bool sameFile(const QString& a, const QString& b)
{
    // By the file's identity on its volume: a hard link, or a Windows short name ("GAMES~1\\A.GBA"), is the
    // same file under another name.
    const FileStamp first = FileStamp::of(a);
    if (!first.exists)
        return false;
    const FileStamp second = FileStamp::of(b);
    return second.exists && first.device == second.device && first.inode == second.inode;
}

QString replacementTarget(const QString& path)
{
    const WriteTarget target = writeTarget(path);
    return target.writable() ? target.path : QString();
}

std::optional<QString> outputPlaceProblem(const QString& path, const QString& product)
{
    switch (writeTarget(path).kind) {
    case WriteTarget::Kind::NotAFile:
        return QStringLiteral("the output is not an ordinary file and cannot be replaced by the ") + product +
               QStringLiteral(": ") + path;
    case WriteTarget::Kind::LinkLoop:
        return QStringLiteral("the output is a link that leads round in a circle of links: ") + path;
    case WriteTarget::Kind::Ordinary:
    case WriteTarget::Kind::Missing:
        break;
    }
    return std::nullopt;
}

std::optional<QString> unwrittenReason(const QString& path, const FileStamp& before, const QString& writer)
{
    const FileStamp after = FileStamp::of(path);
    if (!after.exists)
        return path + QStringLiteral(" was not written");
    if (after == before)
        return writer + QStringLiteral(" ended without writing ") + path +
               QStringLiteral("; the file there is the one from before");
    if (after.size == 0)
        return path + QStringLiteral(" is empty");
    return std::nullopt;
}

bool FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modified == other.modified;
}

namespace {

// Where a path leads, for comparing places that need not exist yet: the file itself where it
// exists, else its name in its folder with the folder's links resolved.
QString resolvedPlace(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

bool samePlace(const QString& a, const QString& b)
{
    if (QFileInfo::exists(a) && QFileInfo::exists(b))
        return sameFile(a, b);
    return resolvedPlace(a).compare(resolvedPlace(b), fileNameCaseSensitivity()) == 0;
}

bool isReadOnlyFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return (info.permissions() & writable) == 0 || !info.isWritable();
}

QStringList fallbackFolders()
{
    return {normalisedFolderPath(QDir::homePath()), primaryRoot()};
}

QByteArray newFilePrefix(NewFileKind kind)
{
    return kind == NewFileKind::Kept ? QByteArrayLiteral(".vm-kept-")
                                     : ".vm-" + QByteArray::number(QCoreApplication::applicationPid()) + '-';
}

int removeAbandonedFiles(const QString& folder)
{
    static const QRegularExpression abandoned(QStringLiteral("^\\.vm-([0-9]+)-[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral(".vm-*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = abandoned.match(name);
        if (!match.hasMatch())
            continue;
        const qint64 writer = match.captured(1).toLongLong();
        if (writer != QCoreApplication::applicationPid() && !processRuns(writer) &&
            QFile::remove(QDir(folder).filePath(name)))
            ++removed;
    }
    return removed;
}

std::optional<QString> writeIntoFile(const QString& target, const QString& source)
{
    QFile from(source);
    QFile to(target);
    if (!from.open(QIODevice::ReadOnly))
        return from.errorString();
    // Not truncated first: the file is cut to the new size only once every byte is written.
    if (!to.open(QIODevice::ReadWrite))
        return to.errorString();
    constexpr qint64 chunk = 1 << 20;
    for (QByteArray bytes = from.read(chunk); !bytes.isEmpty(); bytes = from.read(chunk)) {
        if (to.write(bytes) != bytes.size())
            return to.errorString();
    }
    if (from.error() != QFileDevice::NoError)
        return from.errorString();
    if (!to.resize(from.size()) || !to.flush())
        return to.errorString();
    return std::nullopt;
}

} // namespace platform
