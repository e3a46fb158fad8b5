// Starting a tool outside Windows: an argument vector, so that no shell parses a path.
#include "runner/ProgramStarter.h"

#include <QProcess>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace runner {

void setProgram(QProcess& process, const platform::CommandLine& command)
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
}

platform::RunOutcome endOf(const QProcess& process)
{
    return process.exitStatus() == QProcess::CrashExit
               ? platform::RunOutcome::signalled(process.exitCode())
               : platform::RunOutcome::exited(static_cast<quint32>(process.exitCode()));
}

} // namespace runner
