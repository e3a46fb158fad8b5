// Starting a tool outside Windows: an argument vector, so that no shell parses a path, in a
// process group of its own, so that a stop reaches whatever the tool started too. On Linux Vellmore
// is also the reaper of the tool's orphans: a process of the tool that leaves the group (setsid)
// and whose parent ends becomes Vellmore's child, so it is still found, waited for and ended.
#include "run/ProgramStarter.h"

#include "compat/QtCompat.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace run {

namespace {

// A process as /proc/PID/stat shows it: "pid (name) state ppid pgrp ...".
struct ProcessEntry {
    pid_t pid = 0;
    pid_t parent = 0;
    pid_t group = 0;
    bool zombie = false;
    QString name;
};

std::vector<ProcessEntry> runningProcesses()
{
    std::vector<ProcessEntry> processes;
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
        if (open < 0 || close < open || fields.size() < 3)
            continue;
        processes.push_back({pid, pid_t(fields[1].toInt()), pid_t(fields[2].toInt()), fields[0] == "Z",
                             QString::fromLocal8Bit(line.mid(open + 1, close - open - 1))});
    }
    return processes;
}

std::set<pid_t> childrenOfThisProcess()
{
    std::set<pid_t> children;
    for (const ProcessEntry& process : runningProcesses()) {
        if (process.parent == ::getpid())
            children.insert(process.pid);
    }
    return children;
}

} // namespace

struct ToolProcesses::Private {
    pid_t group = 0;
    pid_t started = 0;
    bool reaper = false;
    std::set<pid_t> earlierChildren; // this process's children before the tool: never the tool's

    // Every process of the tool still there: the group, whatever descends from the one started, and
    // the orphans that came to this process. Orphans that have ended are reaped on the way.
    std::vector<ProcessEntry> members() const;
};

std::vector<ProcessEntry> ToolProcesses::Private::members() const
{
    const std::vector<ProcessEntry> processes = runningProcesses();
    std::set<pid_t> tool{started};
    for (bool grew = true; grew;) {
        grew = false;
        for (const ProcessEntry& process : processes) {
            const bool orphan = reaper && process.parent == ::getpid() && process.pid != started &&
                                earlierChildren.count(process.pid) == 0;
            if (tool.count(process.pid) == 0 && (process.group == group || tool.count(process.parent) != 0 || orphan)) {
                tool.insert(process.pid);
                grew = true;
            }
        }
    }
    std::vector<ProcessEntry> found;
    for (const ProcessEntry& process : processes) {
        if (tool.count(process.pid) == 0)
            continue;
        // An ended orphan is this process's to reap; the one started is Qt's.
        if (process.zombie && process.parent == ::getpid() && process.pid != started) {
            siginfo_t info{};
            ::waitid(P_PID, id_t(process.pid), &info, WEXITED | WNOHANG);
        }
        if (!process.zombie)
            found.push_back(process);
    }
    return found;
}

ToolProcesses::ToolProcesses() : d(new Private) {}

ToolProcesses::~ToolProcesses() = default;

void ToolProcesses::setUp(compat::ChildSetupProcess& process, const CommandLine& command)
{
#ifdef __linux__
    static const bool reaper = ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
    d->reaper = reaper;
#endif
    if (d->reaper)
        d->earlierChildren = childrenOfThisProcess();
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
    d->started = d->group;
}

void ToolProcesses::askToEnd(QProcess& process)
{
    if (d->group <= 0) {
        process.terminate();
        return;
    }
    ::kill(-d->group, SIGTERM);
    for (const ProcessEntry& member : d->members())
        ::kill(member.pid, SIGTERM);
}

void ToolProcesses::kill(QProcess& process)
{
    if (d->group > 0) {
        ::kill(-d->group, SIGKILL);
        for (const ProcessEntry& member : d->members())
            ::kill(member.pid, SIGKILL);
    }
    process.kill();
}

bool ToolProcesses::anyRunning() const
{
    if (d->group <= 0)
        return false;
    // The members first: that reaps the orphans that ended, which would otherwise still count as the group's.
    if (!d->members().empty())
        return true;
    return ::kill(-d->group, 0) == 0 || errno == EPERM;
}

QString ToolProcesses::survivors() const
{
    if (!anyRunning())
        return QString();
    QStringList named;
    for (const ProcessEntry& member : d->members()) {
        const bool mayBeSignalled = ::kill(member.pid, 0) == 0;
        named.append(QStringLiteral("process %1 (%2) could not be ended: %3")
                         .arg(member.pid)
                         .arg(member.name, mayBeSignalled ? QStringLiteral("it went on after it was killed")
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
