#pragma once

#include "cart/ToolCommands.h"
#include "platform/ProgramRunner.h"

#include <QString>

namespace cart {

// The choices a tool operation needs, in the order they are checked.
enum class ToolChoice { None, File, Tool };

struct ToolOutcome {
    ToolChoice missing = ToolChoice::None; // the first choice not made; nothing was run
    bool waitStepFilled = false;           // an empty wait step went into the command line as "0"
    bool succeeded = false;                // the tool ended with exit code 0
    QString message;
};

// Why a tool run failed, for a message that starts with what failed ("flash failed"):
// "could not start <tool>", else "<what>: exit code N" or "<what>: killed by signal N",
// followed by the tool's own words when it said any.
QString toolFailureMessage(const platform::RunOutcome& outcome, const QString& toolPath, const QString& what);

// "Flash": the checks, the command line and its run.
ToolOutcome flashMultirom(PortSettings port, bool repairHeader, const QString& multirom,
                          const platform::ProgramRunner& run);

// "Step 4: Backup": the checks (tool, then the wait step made "0" if empty, then the output
// file), the command line and its run. Succeeds when the tool ended with exit code 0 and the
// file is there; sizeFigure (32 for "32K") is only for the message.
ToolOutcome backupSave(PortSettings port, int bank, int sizeCode, int sizeFigure, const QString& output,
                       const platform::ProgramRunner& run);

// "Step 3: Restore": the wait step made "0" if empty before any check, then the tool, the saved
// game chosen and readable, the command line and its run.
ToolOutcome restoreSave(PortSettings port, int bank, const QString& savedGame, const platform::ProgramRunner& run);

// "Step 3: Backup Cart": the tool, the output file, then the wait step made "0" if empty; the
// command line and its run. Succeeds when the tool ended with exit code 0 and the file is there.
ToolOutcome backupCart(PortSettings port, int chipMbit, const QString& output, const platform::ProgramRunner& run);

struct EraseOutcome {
    bool gone = false; // no multirom is left in the folder
    QString message;   // empty when there is nothing to tell
};

// "Erase?": deletes the multirom of the browser's folder. One that is gone already counts as erased.
EraseOutcome eraseMultirom(const QString& browserFolder);

} // namespace cart
