#include "run/ToolRun.h"

#include "compat/QtCompat.h"
#include "platform/Platform.h"
#include "run/BatchInterpreter.h"
#include "run/ConsoleText.h"
#include "run/ProgramStarter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <thread>

namespace run {

namespace {

// A program asked to stop gets this long to end by itself before it is killed.
constexpr int stopGraceMilliseconds = 2000;
// After the kill, how long the system gets to take the last of a tool's processes away.
constexpr int killedEndMilliseconds = 3000;

// A tool has ended only once every process of it has: a wrapper's real tool too. Once killed, the
// system gets a little while to take them away; one that outlives that is named in the outcome.
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

} // namespace

void ToolRun::stop()
{
    m_stopAsked = true;
    emit stopping();
}

RunOutcome ToolRun::run(const CommandLine& command, const OutputSink& sink)
{
    return platform::interpretsBatchFilesItself() && command.isOwnBatchFile() ? runOwnBatchFile(command, sink)
                                                                              : runProgram(command, sink);
}

RunOutcome ToolRun::runOwnBatchFile(const CommandLine& command, const OutputSink& sink)
{
    QEventLoop loop;
    std::atomic<bool> cancel{m_stopAsked};
    connect(this, &ToolRun::stopping, &loop, [&cancel] { cancel = true; });
    RunOutcome outcome;
    std::thread worker([&] {
        outcome = runBatchFile(
            command.program(),
            [&](BatchInterpreter::Stream stream, const QString& text) {
                const QByteArray bytes = text.toLocal8Bit();
                const Stream to = stream == BatchInterpreter::Stream::Error ? Stream::Error : Stream::Output;
                QMetaObject::invokeMethod(
                    this, [&sink, to, bytes] { sink(to, bytes); }, Qt::QueuedConnection);
            },
            &cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall); // the last of what it wrote
    return outcome;
}

RunOutcome ToolRun::runProgram(const CommandLine& command, const OutputSink& sink)
{
    compat::ChildSetupProcess process;
    ToolProcesses tool;
    tool.setUp(process, command);
    // The tool gets end-of-file at once if it reads its standard input: nobody types there.
    process.setStandardInputFile(QProcess::nullDevice());
    ErrorTail errors;
    connect(&process, &QProcess::readyReadStandardOutput, this,
            [&] { sink(Stream::Output, process.readAllStandardOutput()); });
    connect(&process, &QProcess::readyReadStandardError, this, [&] {
        const QByteArray bytes = process.readAllStandardError();
        errors.append(bytes);
        sink(Stream::Error, bytes);
    });
    QTimer killer;
    killer.setSingleShot(true);
    QElapsedTimer sinceKill;
    connect(&killer, &QTimer::timeout, &process, [&] {
        tool.kill(process);
        sinceKill.start();
    });
    bool stopping = false;
    auto askToEnd = [&] {
        stopping = true;
        tool.askToEnd(process);
        if (!killer.isActive() && !sinceKill.isValid())
            killer.start(stopGraceMilliseconds);
    };
    connect(this, &ToolRun::stopping, &process, askToEnd);
    QEventLoop loop;
    connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return RunOutcome::notStarted(startFailure(process));
    tool.adopt(process);
    if (m_stopAsked)
        askToEnd();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    // The run ends when every process of the tool has: a launcher that leaves the real tool writing in
    // the background has not finished the job. Stop still works meanwhile.
    waitForTheWholeTool(tool, killer, sinceKill);
    // What the program wrote last, still in the pipes when it ended.
    const QByteArray restOut = process.readAllStandardOutput();
    const QByteArray restErr = process.readAllStandardError();
    errors.append(restErr);
    if (!restOut.isEmpty())
        sink(Stream::Output, restOut);
    if (!restErr.isEmpty())
        sink(Stream::Error, restErr);
    RunOutcome outcome = endOf(process);
    outcome.errorOutput = errors.text();
    if (stopping)
        outcome.survivors = tool.survivors();
    return outcome;
}

} // namespace run
