#include "cart/CartOperations.h"

#include "multirom/PathRules.h"
#include "platform/FolderReader.h"

#include <cerrno>

namespace cart {

QString toolFailureMessage(const platform::RunOutcome& outcome, const QString& toolPath, const QString& what)
{
    if (outcome.kind == platform::RunOutcome::Kind::NotStarted)
        return QStringLiteral("could not start ") + toolPath;
    return what + QStringLiteral(": ") + outcome.describe();
}

ToolOutcome flashMultirom(PortSettings port, bool repairHeader, const QString& multirom,
                          const platform::ProgramRunner& run)
{
    ToolOutcome outcome;
    if (multirom.isEmpty()) {
        outcome.missing = ToolChoice::File;
        outcome.message = QStringLiteral("you have to select the multi.gba to flash");
        return outcome;
    }
    if (port.toolPath.isEmpty()) {
        outcome.missing = ToolChoice::Tool;
        outcome.message = QStringLiteral("please select your Orbick location");
        return outcome;
    }
    if (port.waitStep.isEmpty()) {
        port.waitStep = QString::number(0);
        outcome.waitStepFilled = true;
    }
    const platform::RunOutcome ran = run(flashCommand(port, repairHeader, multirom));
    outcome.succeeded = ran.succeeded();
    outcome.message = outcome.succeeded ? QStringLiteral("Flashed!")
                                        : toolFailureMessage(ran, port.toolPath, QStringLiteral("flash failed"));
    return outcome;
}

EraseOutcome eraseMultirom(const QString& browserFolder)
{
    EraseOutcome outcome;
    const QString path = multirom::multiromProbePath(browserFolder);
    if (path.isEmpty()) {
        outcome.message = QStringLiteral("no folder is open in the file browser");
        return outcome;
    }
    int failure = 0;
    outcome.gone = platform::deleteFile(path, &failure) || failure == ENOENT;
    if (!outcome.gone)
        outcome.message =
            QStringLiteral("cannot delete ") + path + QStringLiteral(": ") + platform::systemErrorText(failure);
    return outcome;
}

} // namespace cart
