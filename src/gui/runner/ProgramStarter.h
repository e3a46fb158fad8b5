#pragma once

#include "platform/CommandLine.h"
#include "platform/RunOutcome.h"

class ConsoleWindow;
class QProcess;

namespace platform {
class ErrorTail;
}

// How this system starts a tool and reads how it ended: one implementation per platform
// (ProgramStarterPosix.cpp, ProgramStarterWindows.cpp), behind these two functions.
namespace runner {

// Sets up process to run command as a console tool of this system: its program and
// arguments, where its output goes (console, Vellmore's own output, errors), how a stop
// from the console reaches it.
void prepareProgram(QProcess& process, const platform::CommandLine& command, ConsoleWindow* console,
                    platform::ErrorTail& errors);

// How the ended process ended, in this system's terms: an exit code, a signal, a crash status.
platform::RunOutcome endOf(const QProcess& process);

} // namespace runner
