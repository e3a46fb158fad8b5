#pragma once

#include "run/ProgramRunner.h"

#include <QString>
#include <QStringList>

namespace multirom {

// What "Compile multirom" works from, read from the main window at the click.
struct CompileRequest {
    QString output;
    QStringList games;
    QString loader;
    QString browserFolder; // where flash.bat is written and run
};

// The choices a compile needs, in the order they are checked.
enum class CompileChoice { None, Output, Games, Loader };

// Each front end says a compile that succeeded in its own words; messages hold the rest: why it did not
// succeed, or what went wrong beside it (a batch file that could not be deleted).
struct CompileOutcome {
    CompileChoice missing = CompileChoice::None; // the first choice not made; nothing else happened
    QStringList messages;                        // what the user is told, in order
    bool filesTouched = false;                   // the browser's folder may have changed on disk
    bool compiled = false;                       // the multirom holds the loader and every game
};

// The first choice of the request not made, in the order a compile checks them.
CompileChoice firstMissingChoice(const CompileRequest& request);

// The message for a choice a compile is missing.
QString missingChoiceMessage(CompileChoice choice);

// The whole compile: the checks, flash.bat written in the browser's folder, its run
// through run, its deletion, and the check that the multirom came out whole.
CompileOutcome compileMultirom(const CompileRequest& request, const run::ProgramRunner& run);

} // namespace multirom
