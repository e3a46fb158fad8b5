#pragma once

#include <QString>

#include <functional>

class ConsoleWindow;

// Vellmore asked by the system to end: SIGTERM, SIGINT or SIGHUP, or on Windows the session
// ending or its console closing. A tool that runs then is stopped as Stop stops it, the operation
// cleans up after it (the unfinished multirom, flash.bat), and only then does Vellmore end.
namespace runner {

// Installs the handlers; once, after the application object exists.
void endOnSystemRequest();

// What ending means: the program quits with the exit code given (128 and the signal's number).
// Setting it starts afresh, as if no end had been asked.
using EndAction = std::function<void(int exitCode)>;
void setEndAction(EndAction action);

// The system asked Vellmore to end.
void requestEnd(int exitCode);

// How a stop asked by the system reads in the outcome.
QString systemEndReason();

// For the runner: the run going on, and its end.
void runStarted(ConsoleWindow* console);
void runEnded();

} // namespace runner
