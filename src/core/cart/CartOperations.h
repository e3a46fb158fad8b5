#pragma once

#include "cart/SaveSize.h"
#include "cart/ToolCommands.h"
#include "multirom/CompilePlan.h"
#include "platform/Platform.h"
#include "run/ProgramRunner.h"

#include <QString>

#include <functional>
#include <optional>

namespace cart {

// The choices a tool operation needs, in the order they are checked.
enum class ToolChoice { None, File, Tool };

struct ToolOutcome {
    ToolChoice missing = ToolChoice::None; // the first choice not made; nothing was run
    bool waitStepFilled = false;           // an empty wait step went into the command line as "0"
    bool succeeded = false;                // the tool ended with exit code 0
    QString message;
};

// Why a tool run did not succeed, for the operation named ("flash"): "could not start <tool>: <the
// system's reason>", "<operation> stopped: <how the user stopped it>", else "<operation> failed:
// exit code N" or "... killed by signal N", followed by the tool's own words when it said any.
QString toolFailureMessage(const run::RunOutcome& outcome, const QString& toolPath, const QString& operation);

// A path as the tool receives it whole. An old tool reads its command line in Windows' ANSI code page,
// where a letter the page lacks arrives as "?": the path itself where that page holds it, else its short
// name; for a file the tool is to make, its folder's short name and its own name. Nothing where neither
// works.
std::optional<QString> toolArgumentForm(const QString& path,
                                        const platform::BatchEncoder& encode = platform::toolArgumentEncoder(),
                                        const multirom::ShortPathName& shortName = platform::shortPathName);

// Called when an empty wait step becomes "0", at that very step, so that the window shows it then.
using WaitStepFilled = std::function<void()>;

// "Flash": the checks, the command line and its run.
ToolOutcome flashMultirom(PortSettings port, bool repairHeader, const QString& multirom, const run::ProgramRunner& run,
                          const WaitStepFilled& filled = {});

// "Step 4: Backup": the checks (tool, then the wait step made "0" if empty, then the output
// file), the command line and its run. Succeeds when the tool ended with exit code 0 and wrote
// the file anew and whole (the size's bytes).
ToolOutcome backupSave(PortSettings port, int bank, SaveSize size, const QString& output, const run::ProgramRunner& run,
                       const WaitStepFilled& filled = {});

// "Step 3: Restore": the wait step made "0" if empty before any check, then the tool, the saved
// game chosen and readable, the command line and its run.
ToolOutcome restoreSave(PortSettings port, int bank, const QString& savedGame, const run::ProgramRunner& run,
                        const WaitStepFilled& filled = {});

// "Step 3: Backup Cart": the tool, the output file, then the wait step made "0" if empty; the
// command line and its run. Succeeds when the tool ended with exit code 0 and wrote the file anew.
ToolOutcome backupCart(PortSettings port, int chipMbit, const QString& output, const run::ProgramRunner& run,
                       const WaitStepFilled& filled = {});

struct EraseOutcome {
    bool gone = false; // no multirom is left in the folder
    QString message;   // empty when there is nothing to tell
};

// "Erase?": deletes the multirom of the browser's folder. One that is gone already counts as erased.
EraseOutcome eraseMultirom(const QString& browserFolder);

} // namespace cart
