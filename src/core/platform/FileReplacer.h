#pragma once

#include <QString>

#include <memory>

namespace platform {

// Builds a file from the contents of other files, streamed in order, and puts it in
// place only when everything was written: until commit() the destination keeps its
// old contents, so a failed copy never leaves a half-written file where a good one stood.
class FileReplacer {
public:
    enum class Result { Ok, SourceMissing, SourceUnreadable, DestinationUnwritable };

    explicit FileReplacer(QString destination);
    ~FileReplacer(); // discards the unfinished file unless committed
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    Result open();
    Result append(const QString& source);
    Result commit();

    // The system's reason for the last failure.
    int errorNumber() const { return m_errno; }
    QString errorText() const;

private:
    struct Private;
    QString m_destination;
    std::unique_ptr<Private> d;
    int m_errno = 0;
};

} // namespace platform
