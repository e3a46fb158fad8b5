// Building a file beside the one it replaces on Windows, through Qt's own save file.
#include "platform/FileReplacer.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace platform {

struct FileReplacer::Private {
    std::unique_ptr<QSaveFile> file;
};

FileReplacer::FileReplacer(QString destination) : m_destination(std::move(destination)), d(new Private) {}

FileReplacer::~FileReplacer() = default;

FileReplacer::Result FileReplacer::open()
{
    QString target;
    if (const Result refused = checkTarget(target); refused != Result::Ok)
        return refused;
    d->file.reset(new QSaveFile(target));
    if (!d->file->open(QIODevice::WriteOnly)) {
        // The system gives no errno here: a folder that is not there, or one that may not be written.
        m_errno = QFileInfo(QFileInfo(target).absolutePath()).isDir() ? EACCES : ENOENT;
        return Result::DestinationUnwritable;
    }
    return Result::Ok;
}

FileReplacer::Result FileReplacer::append(const QString& source)
{
    QFile in(source);
    if (!in.exists()) {
        m_errno = ENOENT;
        return Result::SourceMissing;
    }
    if (!in.open(QIODevice::ReadOnly)) {
        m_errno = EACCES;
        return Result::SourceUnreadable;
    }
    QByteArray buffer;
    while (!(buffer = in.read(chunkSize)).isEmpty()) {
        if (cancelled())
            return Result::Cancelled;
        if (d->file->write(buffer) != buffer.size()) {
            m_errno = EIO;
            return Result::DestinationUnwritable;
        }
    }
    return Result::Ok;
}

FileReplacer::Result FileReplacer::commit()
{
    if (!d->file->commit()) {
        m_errno = EACCES;
        return Result::DestinationUnwritable;
    }
    return Result::Ok;
}

} // namespace platform
