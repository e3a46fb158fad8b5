// Starting a tool outside Windows: an argument vector, so that no shell parses a path, in a
// process group of its own, so that a stop reaches whatever the tool started too.
#include "run/ProgramStarter.h"

#include "compat/QtCompat.h"

#include <QProcess>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace run {

struct ToolProcesses::Private {
    pid_t group = 0;
};

ToolProcesses::ToolProcesses() : d(new Private) {}

ToolProcesses::~ToolProcesses() = default;

void ToolProcesses::setUp(compat::ChildSetupProcess& process, const CommandLine& command)
{
    process.setProgram(command.program());
    process.setArguments(command.arguments());
    process.setChildSetup([] {
        // The tool leads a group of its own: whatever it starts belongs to it, and Ctrl+C in the
        // terminal Vellmore was started from reaches Vellmore, which stops the tool as Stop does.
        ::setpgid(0, 0);
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

void ToolProcesses::adopt(QProcess& process)
{
    // The group was made in the child before the tool ran: its number is the tool's own.
    d->group = pid_t(process.processId());
}

void ToolProcesses::askToEnd(QProcess& process)
{
    if (d->group > 0)
        ::kill(-d->group, SIGTERM);
    else
        process.terminate();
}

void ToolProcesses::kill(QProcess& process)
{
    if (d->group > 0)
        ::kill(-d->group, SIGKILL);
    process.kill();
}

bool ToolProcesses::anyRunning() const
{
    return d->group > 0 && (::kill(-d->group, 0) == 0 || errno == EPERM);
}

QString startFailure(const QProcess& process)
{
    // Qt says "execvp: Permission denied": the system's own words are what follow the call's name.
    const QString said = process.errorString();
    const qsizetype colon = said.indexOf(QLatin1String(": "));
    return colon < 0 ? said : said.mid(colon + 2);
}

RunOutcome endOf(const QProcess& process)
{
    return process.exitStatus() == QProcess::CrashExit ? RunOutcome::signalled(process.exitCode())
                                                       : RunOutcome::exited(static_cast<quint32>(process.exitCode()));
}

} // namespace run
