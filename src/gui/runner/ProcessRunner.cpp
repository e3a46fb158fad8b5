#include "runner/ProcessRunner.h"

#include "run/ToolRun.h"
#include "runner/ConsoleWindow.h"
#include "runner/EndRequest.h"
#include "runner/InputBlocker.h"
#include "runner/OutputPassing.h"

#include <QApplication>
#include <QFileInfo>

namespace runner {

using run::CommandLine;
using run::RunOutcome;

RunOutcome ExecCmd(const CommandLine& command)
{
    // The console belongs to the window the user started the run from, so it stays above it.
    ConsoleWindow console(command.toString(), QFileInfo(command.program()).fileName(), QApplication::activeWindow());
    InputBlocker blocker(&console);
    console.present();
    runStarted(&console);
    run::ToolRun tool;
    QObject::connect(&console, &ConsoleWindow::stopRequested, &tool, &run::ToolRun::stop);
    RunOutcome outcome = tool.run(command, [&console](run::ToolRun::Stream stream, const QByteArray& bytes) {
        passOn(stream == run::ToolRun::Stream::Error ? OwnStream::Error : OwnStream::Output, bytes);
        console.append(bytes);
    });
    if (!console.stopReason().isEmpty() && outcome.kind != RunOutcome::Kind::NotStarted) {
        const QString survivors = outcome.survivors;
        outcome = RunOutcome::stopped(console.stopReason()); // however it ended, the user ended it
        outcome.survivors = survivors;
    }
    console.markEnded();
    runEnded();
    return outcome;
}

} // namespace runner
