#pragma once

#include "platform/CommandLine.h"
#include "platform/RunOutcome.h"

namespace runner {

// Runs a command with Vellmore's own environment and current directory at normal
// priority, and returns when it has ended. Meanwhile no window takes user input,
// the busy cursor shows and every window keeps repainting. Outside Windows, a batch
// file is run by Vellmore's own interpreter and a console window shows what the
// program writes (passed on to Vellmore's own output as well).
platform::RunOutcome ExecCmd(const platform::CommandLine& command);

} // namespace runner
