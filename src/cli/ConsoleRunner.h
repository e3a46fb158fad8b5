#pragma once

#include "CliContext.h"
#include "run/ProgramRunner.h"

namespace cli {

// Runs the tool as the windows do, its output shown as it comes, and Ctrl+C stopping it as Stop
// does. stopped() tells whether the last run was stopped.
class ConsoleRunner {
public:
    // With --json the tool's output goes to standard error, so that standard output holds the object alone.
    explicit ConsoleRunner(const CliContext& context) : m_outputToErrors(context.json()) {}

    run::ProgramRunner runner();
    bool stopped() const { return m_stopped; }
    // The exit code for a stopped run, as a shell gives a program ended by that signal: 130 for Ctrl+C,
    // 143 for SIGTERM, 129 for SIGHUP.
    int stopCode() const { return m_stopCode; }

private:
    bool m_outputToErrors;
    bool m_stopped = false;
    int m_stopCode = Stopped;
};

} // namespace cli
