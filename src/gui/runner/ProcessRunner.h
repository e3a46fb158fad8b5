#pragma once

#include "run/CommandLine.h"
#include "run/RunOutcome.h"

namespace runner {

// Runs a command with Vellmore's own environment and current directory at normal
// priority, and returns when it has ended. Meanwhile no window takes user input,
// the busy cursor shows and every window keeps repainting. A console window shows what
// the program writes (passed on to Vellmore's own output as well), and the end of its error
// output is kept for the message that reports a failure. A batch file is run by cmd.exe on
// Windows, by Vellmore's own interpreter elsewhere.
run::RunOutcome ExecCmd(const run::CommandLine& command);

} // namespace runner
