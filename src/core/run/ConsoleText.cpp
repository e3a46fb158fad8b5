#include "run/ConsoleText.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstring>

namespace run {

namespace {

// Where the output that can still be seen begins: after the line break that has more than
// maxLines line breaks after it. Everything before it would scroll out of the tail anyway.
const char* visibleStart(const char* begin, const char* end, int maxLines)
{
    int breaks = 0;
    for (const char* p = end; p > begin;) {
        if (*--p == '\n' && ++breaks > maxLines)
            return p + 1;
    }
    return nullptr;
}

} // namespace

void ConsoleText::append(const QByteArray& bytes)
{
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    if (const char* start = visibleStart(p, end, maxLines)) {
        m_lines.clear();
        m_lineBytes = 0;
        m_current.clear();
        m_column = 0;
        p = start;
    }
    // The next line feed and carriage return, each found with memchr and looked for again
    // only once passed: long runs of text are crossed at memory speed.
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, size_t(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* feed = next(p, '\n');
    const char* ret = next(p, '\r');
    while (p < end) {
        if (feed < p)
            feed = next(p, '\n');
        if (ret < p)
            ret = next(p, '\r');
        const char* stop = std::min(feed, ret);
        write(p, stop);
        if (stop == end)
            break;
        if (*stop == '\n')
            endLine();
        else
            m_column = 0;
        p = stop + 1;
    }
}

void ConsoleText::write(const char* begin, const char* end)
{
    const qsizetype size = end - begin;
    if (size == 0)
        return;
    if (size >= maxLineBytes) {
        // The run alone fills the line: only its end can be seen.
        m_current = QByteArray(end - maxLineBytes, maxLineBytes);
        m_column = maxLineBytes;
        return;
    }
    if (m_column >= m_current.size())
        m_current.append(begin, size);
    else
        m_current.replace(m_column, qMin(size, m_current.size() - m_column), QByteArray::fromRawData(begin, size));
    m_column += size;
    if (m_current.size() > maxLineBytes) {
        const qsizetype dropped = m_current.size() - maxLineBytes;
        m_current.remove(0, dropped);
        m_column = qMax<qsizetype>(0, m_column - dropped);
    }
}

void ConsoleText::endLine()
{
    m_lineBytes += m_current.size() + 1;
    m_lines.push_back(std::move(m_current));
    m_current = QByteArray();
    m_column = 0;
    while (!m_lines.empty() && (int(m_lines.size()) > maxLines || m_lineBytes + m_current.size() > maxBytes)) {
        m_lineBytes -= m_lines.front().size() + 1;
        m_lines.pop_front();
    }
}

QString ConsoleText::text() const
{
    QByteArray all;
    all.reserve(m_lineBytes + m_current.size());
    for (const QByteArray& line : m_lines)
        all.append(line).append('\n');
    all.append(m_current);
    return platform::decodeConsoleOutput(all);
}

} // namespace run
