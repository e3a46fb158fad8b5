// Starting a tool on Windows: the command line passed as written, and the console of its own
// that the system gives a console program, as when it is started from a desktop.
#include "runner/ProgramStarter.h"

#include <QProcess>

#include <windows.h>

namespace runner {

void prepareProgram(QProcess& process, const platform::CommandLine& command, ConsoleWindow* console,
                    platform::ErrorTail& errors)
{
    Q_UNUSED(console);
    Q_UNUSED(errors);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
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
        // A console of its own, with its own standard handles, at normal priority.
        arguments->flags = (arguments->flags & ~DWORD(CREATE_NO_WINDOW)) | NORMAL_PRIORITY_CLASS;
        arguments->startupInfo->dwFlags &= ~DWORD(STARTF_USESTDHANDLES);
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
