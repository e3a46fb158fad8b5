// Starting a tool outside Windows: an argument vector, so no shell parses a path; its output
// shown in Vellmore's console window; a stop asks it to end, then kills it.
#include "runner/ProgramStarter.h"

#include "runner/ConsoleWindow.h"
#include "runner/OutputPassing.h"

#include <QProcess>
#include <QTimer>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace runner {

namespace {
// A program asked to stop gets this long to end by itself before it is killed.
constexpr int stopGraceMilliseconds = 2000;
} // namespace

void prepareProgram(QProcess& process, const platform::CommandLine& command, ConsoleWindow* console,
                    platform::ErrorTail& errors)
{
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
    // Lives as long as the process: a child of it.
    auto* killer = new QTimer(&process);
    killer->setSingleShot(true);
    QObject::connect(killer, &QTimer::timeout, &process, &QProcess::kill);
    QObject::connect(console, &ConsoleWindow::stopRequested, &process, [&process, killer] {
        process.terminate();
        if (!killer->isActive())
            killer->start(stopGraceMilliseconds);
    });
    QObject::connect(&process, &QProcess::finished, console, [&process, console, &errors] {
        // What the program wrote last, still in the pipes when it ended.
        const QByteArray restOut = process.readAllStandardOutput();
        const QByteArray restErr = process.readAllStandardError();
        errors.append(restErr);
        for (const QByteArray& rest : {restOut, restErr}) {
            if (!rest.isEmpty())
                console->append(rest);
        }
    });
}

platform::RunOutcome endOf(const QProcess& process)
{
    return process.exitStatus() == QProcess::CrashExit
               ? platform::RunOutcome::signalled(process.exitCode())
               : platform::RunOutcome::exited(static_cast<quint32>(process.exitCode()));
}

} // namespace runner
