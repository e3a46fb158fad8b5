#include "runner/ProcessRunner.h"

#include "platform/BatchInterpreter.h"
#include "platform/Platform.h"
#include "runner/ConsoleWindow.h"
#include "runner/InputBlocker.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#endif

namespace runner {

using platform::BatchInterpreter;
using platform::CommandLine;
using platform::RunOutcome;

namespace {

// A program asked to stop gets this long to end by itself before it is killed.
constexpr int stopGraceMilliseconds = 2000;

void passOn(FILE* stream, const QByteArray& bytes)
{
    // Our own output may be a closed pipe: the write then fails quietly, it never ends Vellmore.
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The batch interpreter runs on a worker so that the windows keep painting during a long copy.
RunOutcome runBatchFile(const CommandLine& command, ConsoleWindow* console)
{
    QEventLoop loop;
    QPointer<ConsoleWindow> target(console);
    std::atomic<bool> stop{false};
    QObject::connect(console, &ConsoleWindow::stopRequested, &loop, [&stop] { stop = true; });
    platform::ErrorTail errors;
    int errorLevel = 0;
    std::thread worker([&] {
        BatchInterpreter interpreter([&](BatchInterpreter::Stream stream, const QString& text) {
            const QByteArray bytes = text.toLocal8Bit();
            const bool error = stream == BatchInterpreter::Stream::Error;
            passOn(error ? stderr : stdout, bytes);
            if (error)
                errors.append(bytes);
            QMetaObject::invokeMethod(
                console,
                [target, bytes] {
                    if (target)
                        target->append(bytes);
                },
                Qt::QueuedConnection);
        });
        interpreter.setCancelFlag(&stop);
        errorLevel = interpreter.runFile(command.program());
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    RunOutcome outcome =
        stop ? RunOutcome::stopped(console->stopReason()) : RunOutcome::exited(static_cast<quint32>(errorLevel));
    outcome.errorOutput = errors.text();
    return outcome;
}

RunOutcome runProgram(const CommandLine& command, ConsoleWindow* console)
{
    QProcess process;
    // The tool gets end-of-file at once if it reads its standard input: nobody types there.
    process.setStandardInputFile(QProcess::nullDevice());
    platform::ErrorTail errors;
#ifdef Q_OS_WIN
    Q_UNUSED(console);
    // The system gives a console program its own console window; the command line is passed as written.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (command.namesBatchFile()) {
        process.setProgram(QStringLiteral("cmd.exe"));
        // cmd takes away the outer quotes and runs the rest: the batch file's own path stays quoted.
        process.setNativeArguments(QStringLiteral("/d /c \"\"") + command.program() + QLatin1Char('"') +
                                   command.argumentText() + QLatin1Char('"'));
    } else {
        process.setProgram(command.program());
        process.setNativeArguments(command.argumentText().mid(1));
    }
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        // A console of its own, with its own standard handles, at normal priority.
        arguments->flags = (arguments->flags & ~DWORD(CREATE_NO_WINDOW)) | NORMAL_PRIORITY_CLASS;
        arguments->startupInfo->dwFlags &= ~DWORD(STARTF_USESTDHANDLES);
        arguments->inheritHandles = TRUE;
    });
#else
    process.setProgram(command.program());
    process.setArguments(command.arguments());
    process.setChildProcessModifier([] {
        // Vellmore ignores these for itself; the tool gets the usual behaviour back.
        std::signal(SIGPIPE, SIG_DFL);
        std::signal(SIGXFSZ, SIG_DFL);
#ifdef F_SETPIPE_SZ
        // Larger pipes: a program that writes a lot waits less for us to read.
        fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
        fcntl(STDERR_FILENO, F_SETPIPE_SZ, 1 << 20);
#endif
    });
    QObject::connect(&process, &QProcess::readyReadStandardOutput, console, [&process, console] {
        const QByteArray bytes = process.readAllStandardOutput();
        passOn(stdout, bytes);
        console->append(bytes);
    });
    QObject::connect(&process, &QProcess::readyReadStandardError, console, [&process, console, &errors] {
        const QByteArray bytes = process.readAllStandardError();
        passOn(stderr, bytes);
        errors.append(bytes);
        console->append(bytes);
    });
    QTimer killer;
    killer.setSingleShot(true);
    QObject::connect(&killer, &QTimer::timeout, &process, &QProcess::kill);
    QObject::connect(console, &ConsoleWindow::stopRequested, &process, [&process, &killer] {
        process.terminate();
        if (!killer.isActive())
            killer.start(stopGraceMilliseconds);
    });
#endif
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        // Qt says "execvp: Permission denied": the system's own words are what follow the call's name.
        const QString said = process.errorString();
        const qsizetype colon = said.indexOf(QLatin1String(": "));
        return RunOutcome::notStarted(colon < 0 ? said : said.mid(colon + 2));
    }
    if (process.state() != QProcess::NotRunning)
        loop.exec();
#ifndef Q_OS_WIN
    const QByteArray restOut = process.readAllStandardOutput();
    const QByteArray restErr = process.readAllStandardError();
    errors.append(restErr);
    for (const QByteArray& rest : {restOut, restErr}) {
        if (!rest.isEmpty())
            console->append(rest);
    }
#endif
#ifdef Q_OS_WIN
    // A program the system ended for a fault has a status such as 0xC0000005, not a signal.
    RunOutcome outcome = process.exitStatus() == QProcess::CrashExit
                             ? RunOutcome::crashed(static_cast<quint32>(process.exitCode()))
                             : RunOutcome::exited(static_cast<quint32>(process.exitCode()));
#else
    RunOutcome outcome = process.exitStatus() == QProcess::CrashExit
                             ? RunOutcome::signalled(process.exitCode())
                             : RunOutcome::exited(static_cast<quint32>(process.exitCode()));
#endif
    outcome.errorOutput = errors.text();
    if (!console->stopReason().isEmpty())
        outcome = RunOutcome::stopped(console->stopReason()); // however it ended, the user ended it
    return outcome;
}

} // namespace

RunOutcome ExecCmd(const CommandLine& command)
{
    // The console belongs to the window the user started the run from, so it stays above it.
    ConsoleWindow console(command.toString(), QApplication::activeWindow());
    InputBlocker blocker(&console);
#ifndef Q_OS_WIN
    console.present();
#endif
    if (platform::interpretsBatchFilesItself() && command.namesBatchFile())
        return runBatchFile(command, &console);
    return runProgram(command, &console);
}

} // namespace runner
