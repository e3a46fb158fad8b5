#pragma once

namespace run {
class ToolRun;
}

namespace cli {

// While a guard lives, Ctrl+C (and on POSIX SIGTERM and SIGHUP too) stops the tool's run as Stop
// does, instead of ending vellmore-cli with the tool left running.
class InterruptStops {
public:
    explicit InterruptStops(run::ToolRun* tool);
    ~InterruptStops();
    InterruptStops(const InterruptStops&) = delete;
    InterruptStops& operator=(const InterruptStops&) = delete;
};

} // namespace cli
