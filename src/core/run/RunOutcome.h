#pragma once

#include <QString>
#include <QtGlobal>

namespace run {

// How a started program ended.
struct RunOutcome {
    enum class Kind { Exited, NotStarted, Signalled, Crashed, Stopped };

    Kind kind = Kind::NotStarted;
    qint32 code = -1;    // the exit code; the signal number when Signalled; the status when Crashed; -1 when NotStarted
    QString errorOutput; // the end of what the program wrote to its standard error
    QString why;         // why it could not be started, how the user stopped it, or what a crash means
    QString survivors;   // the tool's processes that outlived a stop, and why (empty when none did)

    static RunOutcome exited(quint32 systemCode) { return {Kind::Exited, static_cast<qint32>(systemCode), {}, {}, {}}; }
    // The system's reason, such as "Permission denied"; empty when it gave none.
    static RunOutcome notStarted(const QString& reason = QString()) { return {Kind::NotStarted, -1, {}, reason, {}}; }
    static RunOutcome signalled(int signal) { return {Kind::Signalled, signal, {}, {}, {}}; }
    // Ended by the system for a fault (Windows): a status such as 0xC0000005.
    static RunOutcome crashed(quint32 status) { return {Kind::Crashed, static_cast<qint32>(status), {}, {}, {}}; }
    // Ended because the user asked it to stop, in the words of how: "the console window was closed".
    static RunOutcome stopped(const QString& how) { return {Kind::Stopped, -1, {}, how, {}}; }

    bool succeeded() const { return kind == Kind::Exited && code == 0; }

    // The exit code as a signed 32-bit number: -1 when the program could not be started.
    qint32 exitCode() const { return kind == Kind::NotStarted ? -1 : code; }

    // "exit code 3", "killed by signal 9", "crashed with status 0xC0000005", "could not be started",
    // "stopped: the console window was closed".
    QString describe() const;

    // The program's own words on what went wrong: the last non-blank lines of its error
    // output joined on one line, empty when it said nothing.
    QString reason() const;

    // describe(), and the program's own words after a colon when it said any.
    QString describeWithReason() const;
};

// Keeps the end of a program's error output, however much it writes.
class ErrorTail {
public:
    void append(const QByteArray& bytes);
    QString text() const;

private:
    QByteArray m_tail;
};

} // namespace run
