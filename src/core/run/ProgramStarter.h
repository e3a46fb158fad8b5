#pragma once

#include "run/CommandLine.h"
#include "run/RunOutcome.h"

#include <memory>

class QProcess;
namespace compat {
class ChildSetupProcess;
}

// How this system starts a tool and reads how it ended: one implementation per platform
// (ProgramStarterPosix.cpp, ProgramStarterWindows.cpp), behind this class and endOf().
namespace run {

// A tool as a whole: the program Vellmore starts and every program that one starts in turn (a
// wrapper script and the real tool behind it), so that a stop ends them all. A process group of
// its own on POSIX, a job object on Windows.
class ToolProcesses {
public:
    ToolProcesses();
    ~ToolProcesses();
    ToolProcesses(const ToolProcesses&) = delete;
    ToolProcesses& operator=(const ToolProcesses&) = delete;

    // Sets process up to run command as this system runs a console tool: the program and its
    // arguments (a vector, or the command line exactly as assembled; a batch file through cmd.exe),
    // what the started program inherits, and its place in the group.
    void setUp(compat::ChildSetupProcess& process, const CommandLine& command);

    // Takes the started process in, before it can start anything of its own.
    void adopt(QProcess& process);

    // Asks every process of the tool to end, as closing its console would.
    void askToEnd(QProcess& process);

    // Ends every process of the tool at once.
    void kill(QProcess& process);

    // Whether any process of the tool still runs, the one Vellmore started or one it started.
    bool anyRunning() const;

    // The processes of the tool that still run after they were killed, each with why it could not be
    // ended: "process 4711 (helper) could not be ended: Operation not permitted". Empty when none.
    QString survivors() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Why the process could not be started, in the system's own words ("Permission denied").
QString startFailure(const QProcess& process);

// How the ended process ended, in this system's terms: an exit code, a signal, a crash status, or
// a program the system could not start for want of a library.
RunOutcome endOf(const QProcess& process);

} // namespace run
