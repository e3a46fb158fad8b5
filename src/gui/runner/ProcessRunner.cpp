#include "runner/ProcessRunner.h"

#include "platform/Platform.h"
#include "run/BatchInterpreter.h"
#include "runner/ConsoleWindow.h"
#include "runner/EndRequest.h"
#include "runner/InputBlocker.h"
#include "runner/OutputPassing.h"
#include "runner/ProgramStarter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <thread>

namespace runner {

using run::CommandLine;
using run::RunOutcome;

namespace {

// The batch interpreter runs on a worker so that the windows keep painting during a long copy.
RunOutcome runBatchFile(const CommandLine& command, ConsoleWindow* console)
{
    QEventLoop loop;
    QPointer<ConsoleWindow> target(console);
    std::atomic<bool> stop{false};
    QObject::connect(console, &ConsoleWindow::stopRequested, &loop, [&stop] { stop = true; });
    RunOutcome outcome;
    std::thread worker([&] {
        outcome = run::runBatchFile(
            command.program(),
            [&](run::BatchInterpreter::Stream stream, const QString& text) {
                const QByteArray bytes = text.toLocal8Bit();
                passOn(stream == run::BatchInterpreter::Stream::Error ? OwnStream::Error : OwnStream::Output, bytes);
                QMetaObject::invokeMethod(
                    console,
                    [target, bytes] {
                        if (target)
                            target->append(bytes);
                    },
                    Qt::QueuedConnection);
            },
            &stop);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return outcome;
}

// A program asked to stop gets this long to end by itself before it is killed.
constexpr int stopGraceMilliseconds = 2000;
// After the kill, how long the system gets to take the last of a tool's processes away.
constexpr int killedEndMilliseconds = 3000;

// A stopped tool has ended only once every process of it has: a wrapper's real tool too.
void waitForTheWholeTool(const ToolProcesses& tool, const QTimer& killer, const QElapsedTimer& sinceKill)
{
    QEventLoop wait;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
        const bool givenUp = !killer.isActive() && sinceKill.isValid() && sinceKill.elapsed() > killedEndMilliseconds;
        if (!tool.anyRunning() || givenUp)
            wait.quit();
    });
    poll.start(20);
    if (tool.anyRunning())
        wait.exec();
}

RunOutcome runProgram(const CommandLine& command, ConsoleWindow* console)
{
    QProcess process;
    ToolProcesses tool;
    tool.setUp(process, command);
    // The tool gets end-of-file at once if it reads its standard input: nobody types there.
    process.setStandardInputFile(QProcess::nullDevice());
    run::ErrorTail errors;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, console, [&process, console] {
        const QByteArray bytes = process.readAllStandardOutput();
        passOn(OwnStream::Output, bytes);
        console->append(bytes);
    });
    QObject::connect(&process, &QProcess::readyReadStandardError, console, [&process, console, &errors] {
        const QByteArray bytes = process.readAllStandardError();
        passOn(OwnStream::Error, bytes);
        errors.append(bytes);
        console->append(bytes);
    });
    QTimer killer;
    killer.setSingleShot(true);
    QElapsedTimer sinceKill;
    QObject::connect(&killer, &QTimer::timeout, &process, [&] {
        tool.kill(process);
        sinceKill.start();
    });
    bool stopping = false;
    QObject::connect(console, &ConsoleWindow::stopRequested, &process, [&] {
        stopping = true;
        tool.askToEnd(process);
        if (!killer.isActive() && !sinceKill.isValid())
            killer.start(stopGraceMilliseconds);
    });
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return RunOutcome::notStarted(startFailure(process));
    tool.adopt(process);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (stopping)
        waitForTheWholeTool(tool, killer, sinceKill);
    // What the program wrote last, still in the pipes when it ended.
    const QByteArray restOut = process.readAllStandardOutput();
    const QByteArray restErr = process.readAllStandardError();
    errors.append(restErr);
    for (const QByteArray& rest : {restOut, restErr}) {
        if (!rest.isEmpty())
            console->append(rest);
    }
    RunOutcome outcome = endOf(process);
    outcome.errorOutput = errors.text();
    return outcome;
}

} // namespace

RunOutcome ExecCmd(const CommandLine& command)
{
    // The console belongs to the window the user started the run from, so it stays above it.
    ConsoleWindow console(command.toString(), QFileInfo(command.program()).fileName(), QApplication::activeWindow());
    InputBlocker blocker(&console);
    console.present();
    runStarted(&console);
    RunOutcome outcome = platform::interpretsBatchFilesItself() && command.isOwnBatchFile()
                             ? runBatchFile(command, &console)
                             : runProgram(command, &console);
    if (!console.stopReason().isEmpty() && outcome.kind != RunOutcome::Kind::NotStarted)
        outcome = RunOutcome::stopped(console.stopReason()); // however it ended, the user ended it
    console.markEnded();
    runEnded();
    return outcome;
}

} // namespace runner
