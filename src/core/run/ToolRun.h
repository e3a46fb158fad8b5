#pragma once

#include "run/CommandLine.h"
#include "run/RunOutcome.h"

#include <QByteArray>
#include <QObject>

#include <functional>

namespace run {

// One run of a program to its end, as the windows and the command line both run the tool: its
// output handed on as it comes, its standard input empty, and a stop that ends the whole tool (a
// wrapper and the real tool behind it), asked first and killed when it has not ended two
// seconds later. The end comes only once every process of it has ended. A batch file Vellmore
// wrote runs through Vellmore's own interpreter where the system has none, on a worker thread so
// that the caller's event loop keeps running.
class ToolRun : public QObject {
    Q_OBJECT

public:
    enum class Stream { Output, Error };
    using OutputSink = std::function<void(Stream, const QByteArray&)>;

    // Runs command and returns how it ended; sink hears the output on this thread.
    RunOutcome run(const CommandLine& command, const OutputSink& sink);

public slots:
    // Asks the program to stop; one asked before it starts is stopped as it starts.
    void stop();

signals:
    void stopping();

private:
    RunOutcome runProgram(const CommandLine& command, const OutputSink& sink);
    RunOutcome runOwnBatchFile(const CommandLine& command, const OutputSink& sink);

    bool m_stopAsked = false;
};

} // namespace run
