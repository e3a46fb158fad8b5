// Starting a tool outside Windows: an argument vector, so that no shell parses a path, in a
// process group of its own, so that a stop reaches whatever the tool started too.
#include "run/ProgramStarter.h"

#include "compat/QtCompat.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

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

QString ToolProcesses::survivors() const
{
    if (!anyRunning())
        return QString();
    // The group's members, as /proc lists them: "pid (name) state ppid pgrp ...".
    QStringList named;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int open = line.indexOf('(');
        const int close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (open < 0 || close < open || fields.size() < 3 || fields[2].toInt() != d->group || fields[0] == "Z")
            continue;
        const bool mayBeSignalled = ::kill(pid, 0) == 0;
        named.append(QStringLiteral("process %1 (%2) could not be ended: %3")
                         .arg(pid)
                         .arg(QString::fromLocal8Bit(line.mid(open + 1, close - open - 1)),
                              mayBeSignalled ? QStringLiteral("it went on after it was killed")
                                             : platform::systemErrorText(errno)));
    }
    return named.isEmpty() ? QStringLiteral("some of its processes could not be ended")
                           : named.join(QStringLiteral(", "));
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
