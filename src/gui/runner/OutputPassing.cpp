#include "runner/OutputPassing.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace runner {

namespace {

constexpr qsizetype mostWaiting = 1 << 20; // bytes held for a stream that is slow to take them

std::atomic<qint64> dropped{0};

// One stream's writer: a thread that may block in a write for as long as the reader wants,
// while the GUI thread only ever appends to its buffer.
class StreamWriter {
public:
    explicit StreamWriter(int fd) : m_fd(fd) {}

    void take(const QByteArray& bytes)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_started) {
            // It lives as long as the process: a write blocked for good must not hold up the end.
            std::thread([this] { run(); }).detach();
            m_started = true;
        }
        const qsizetype room = mostWaiting - m_waiting.size();
        if (room < bytes.size())
            dropped += bytes.size() - qMax<qsizetype>(room, 0);
        if (room > 0)
            m_waiting.append(bytes.left(room));
        m_wake.notify_one();
    }

private:
    void run()
    {
        for (;;) {
            QByteArray bytes;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_waiting.isEmpty(); });
                bytes.swap(m_waiting);
            }
            for (qsizetype done = 0; done < bytes.size();) {
                const auto put = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
                if (put <= 0)
                    break; // a closed pipe or no stream at all: the bytes go nowhere
                done += put;
            }
        }
    }

    const int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QByteArray m_waiting;
    bool m_started = false;
};

StreamWriter& writerFor(OwnStream stream)
{
    // Never destroyed: its thread may still be blocked in a write when Vellmore ends.
    static auto* output = new StreamWriter(1);
    static auto* error = new StreamWriter(2);
    return stream == OwnStream::Error ? *error : *output;
}

} // namespace

void passOn(OwnStream stream, const QByteArray& bytes)
{
    if (!bytes.isEmpty())
        writerFor(stream).take(bytes);
}

qint64 droppedOutputBytes()
{
    return dropped.load();
}

} // namespace runner
