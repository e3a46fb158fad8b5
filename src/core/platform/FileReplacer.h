#pragma once

#include <QString>

#include <atomic>
#include <memory>

namespace platform {

// Builds a file from the contents of other files, streamed in order, and puts it in
// place only when everything was written: until commit() the destination keeps its
// old contents, so a failed copy never leaves a half-written file where a good one stood.
// A link is written through: the file it leads to is replaced and the link stays. The new
// file keeps the mode of the one it replaces; a read-only file is not replaced.
class FileReplacer {
public:
    enum class Result { Ok, SourceMissing, SourceUnreadable, DestinationUnwritable, DestinationNotAFile, Cancelled };

    explicit FileReplacer(QString destination);
    ~FileReplacer(); // discards the unfinished file unless committed
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    // While *flag is true the copy stops at its next chunk and reports Cancelled.
    void setCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }

    Result open();
    Result append(const QString& source);
    Result commit();

    // The system's reason for the last failure.
    int errorNumber() const { return m_errno; }
    QString errorText() const;

private:
    static constexpr qint64 chunkSize = 1 << 20; // one MiB in memory at most, whatever the file sizes

    struct Private;
    QString m_destination;
    std::unique_ptr<Private> d;
    int m_errno = 0;
    const std::atomic<bool>* m_cancel = nullptr;

    // Where the new file goes (the end of the destination's links), or why it may not go there.
    Result checkTarget(QString& target);
    bool cancelled() const { return m_cancel && m_cancel->load(); }
};

} // namespace platform
