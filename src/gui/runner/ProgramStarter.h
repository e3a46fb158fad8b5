#pragma once

#include "platform/CommandLine.h"
#include "platform/RunOutcome.h"

class QProcess;

// How this system starts a tool and reads how it ended: one implementation per platform
// (ProgramStarterPosix.cpp, ProgramStarterWindows.cpp), behind these two functions.
namespace runner {

// Sets process up to run command as this system runs a console tool: the program and its
// arguments (a vector, or the command line as written, a batch file through cmd.exe), and
// what the started program inherits.
void setProgram(QProcess& process, const platform::CommandLine& command);

// How the ended process ended, in this system's terms: an exit code, a signal, a crash status.
platform::RunOutcome endOf(const QProcess& process);

} // namespace runner
