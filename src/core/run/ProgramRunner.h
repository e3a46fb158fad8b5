#pragma once

#include "run/CommandLine.h"
#include "run/RunOutcome.h"

#include <functional>

namespace run {

// Runs a command line and returns once the program has ended: how an operation starts
// the tool or the batch file. The windows pass the runner that shows the program's
// console; tests pass their own.
using ProgramRunner = std::function<RunOutcome(const CommandLine&)>;

} // namespace run
