// Starting a tool on Windows: the command line passed as written, as the C runtime of the tool
// splits it, and a batch file run by cmd.exe. Its output goes to Vellmore's console window.
#include "runner/ProgramStarter.h"

#include <QProcess>

#include <windows.h>

namespace runner {

void setProgram(QProcess& process, const platform::CommandLine& command)
{
    if (command.namesBatchFile()) {
        process.setProgram(QStringLiteral("cmd.exe"));
        // cmd takes away the outer quotes and runs the rest: the batch file's own path stays quoted.
        process.setNativeArguments(QStringLiteral("/d /c \"\"") + command.program() + QLatin1Char('"') +
                                   command.argumentText() + QLatin1Char('"'));
    } else {
        process.setProgram(command.program());
        process.setNativeArguments(command.argumentText().mid(1));
    }
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        // At normal priority, inheriting Vellmore's inheritable handles.
        arguments->flags |= NORMAL_PRIORITY_CLASS;
        arguments->inheritHandles = TRUE;
    });
}

platform::RunOutcome endOf(const QProcess& process)
{
    // A program the system ended for a fault has a status such as 0xC0000005, not a signal.
    return process.exitStatus() == QProcess::CrashExit
               ? platform::RunOutcome::crashed(static_cast<quint32>(process.exitCode()))
               : platform::RunOutcome::exited(static_cast<quint32>(process.exitCode()));
}

} // namespace runner
