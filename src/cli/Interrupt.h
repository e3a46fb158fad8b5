#pragma once

#include <QString>

namespace run {
class ToolRun;
}

namespace cli {

// While a guard lives, Ctrl+C (and on POSIX SIGTERM and SIGHUP too; on Windows the console closed)
// stops the tool's run as Stop does, instead of ending vellmore-cli with the tool left running.
class InterruptStops {
public:
    explicit InterruptStops(run::ToolRun* tool);
    ~InterruptStops();
    InterruptStops(const InterruptStops&) = delete;
    InterruptStops& operator=(const InterruptStops&) = delete;

    // The signal that stopped the run (SIGINT for Ctrl+C, SIGHUP for a closed terminal or console),
    // and how the user stopped it, in words: "Ctrl+C was pressed", "SIGTERM was received".
    int signal() const;
    QString how() const;
};

} // namespace cli
