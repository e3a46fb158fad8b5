#pragma once

#include "run/RunOutcome.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <atomic>
#include <functional>

namespace run {

// A small stand-in for the Windows command interpreter, enough for the batch files
// Vellmore writes: "@echo off", "echo on/off", "rem", labels, blank lines, CR LF or LF
// line ends, "%%" and "%NAME%", and "copy /b" joining sources with "+" into one
// destination. Anything else is reported as not recognised, as cmd does.
class BatchInterpreter {
public:
    enum class Stream { Output, Error };
    using Sink = std::function<void(Stream, const QString&)>;

    static constexpr int notRecognised = 9009; // cmd's errorlevel for an unknown command

    explicit BatchInterpreter(Sink sink, QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // While *flag is true, a running copy stops and no further command runs.
    void setCancelFlag(const std::atomic<bool>* flag) { m_cancel = flag; }

    // Runs the file's lines in order; returns the errorlevel the batch file ends with.
    int runFile(const QString& path);
    int runText(const QString& text, const QString& batchPath = QString());

    // Expands "%%" and "%NAME%" in one line, as cmd does in a batch file.
    QString expand(const QString& line, const QString& batchPath) const;

private:
    int runCommand(const QString& line);
    int copy(const QString& arguments);
    void say(Stream stream, const QString& text) const;

    Sink m_sink;
    QProcessEnvironment m_environment;
    bool m_echo = true;
    const std::atomic<bool>* m_cancel = nullptr;
};

// Runs a batch file through the interpreter, as the command interpreter runs it when its path is
// started: what it writes goes to sink, the end of its error output is kept, and its errorlevel
// becomes the exit code. While *cancel is true it stops, and the outcome says it was stopped.
RunOutcome runBatchFile(const QString& path, const BatchInterpreter::Sink& sink,
                        const std::atomic<bool>* cancel = nullptr);

} // namespace run
