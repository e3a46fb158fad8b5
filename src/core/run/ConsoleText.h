#pragma once

#include <QByteArray>
#include <QString>

#include <deque>

namespace run {

// What a console shows of a program's output: the tail of it, bounded in lines and bytes
// however much the program writes, with a carriage return taking the cursor back to the
// start of the line so that progress lines overwrite themselves. Bytes are kept as they
// came and decoded only when shown.
class ConsoleText {
public:
    static constexpr int maxLines = 2000;
    static constexpr qsizetype maxBytes = 1 << 20;
    static constexpr qsizetype maxLineBytes = 4096; // a longer line keeps its end

    void append(const QByteArray& bytes);
    QString text() const;
    bool isEmpty() const { return m_lines.empty() && m_current.isEmpty(); }

private:
    void write(const char* begin, const char* end);
    void endLine();

    std::deque<QByteArray> m_lines; // complete lines, oldest first
    qsizetype m_lineBytes = 0;      // their size together
    QByteArray m_current;           // the line being written
    qsizetype m_column = 0;         // where the next byte goes in it
};

} // namespace run
