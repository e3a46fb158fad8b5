// Starting a tool on Windows: the command line exactly as assembled, as the C runtime of the tool
// splits it, a batch file run by cmd.exe, and every process of the tool in one job object.
#include "run/ProgramStarter.h"

#include "compat/QtCompat.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "platform/Platform.h"
#include "platform/ProgramKind.h"

#include <memory>
#include <string>

#include <windows.h>

#include <tlhelp32.h>

namespace run {

struct ToolProcesses::Private {
    HANDLE job = nullptr;
    bool adopted = false;
    // Where the job could not take the tool in (Windows 7 has no nested jobs, and Vellmore may run in
    // a job of its own): the process Vellmore started, whose descendants are the rest of the tool.
    platform::ProcessTreeRoot root;
};

namespace {

// Whether Vellmore runs in a job that lets a started program leave it: then the tool can go into
// Vellmore's own job even on Windows 7, which has no nested jobs.
bool mayBreakAwayFromOwnJob()
{
    BOOL inJob = FALSE;
    if (!IsProcessInJob(GetCurrentProcess(), nullptr, &inJob) || !inJob)
        return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION outer = {};
    return QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &outer, sizeof outer, nullptr) &&
           (outer.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_BREAKAWAY_OK) != 0;
}

} // namespace

ToolProcesses::ToolProcesses() : d(new Private)
{
    d->job = CreateJobObjectW(nullptr, nullptr);
    if (d->job) {
        // Should Vellmore itself end, the tool ends with it.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(d->job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
}

ToolProcesses::~ToolProcesses()
{
    if (d->job)
        CloseHandle(d->job);
}

void ToolProcesses::setUp(compat::ChildSetupProcess& process, const CommandLine& command)
{
    QString commandLine;
    if (command.isOwnBatchFile()) {
        // cmd.exe starts in the batch file's folder and is handed its bare name: no folder name,
        // which may hold "%PATH%" or "&", ever reaches cmd's own command line.
        const QFileInfo batch(command.program());
        process.setProgram(QStringLiteral("cmd.exe"));
        process.setWorkingDirectory(batch.absolutePath());
        commandLine = QStringLiteral("cmd.exe /d /c ") + run::quotedArgument(batch.fileName());
    } else if (command.namesBatchFile()) {
        process.setProgram(QStringLiteral("cmd.exe"));
        // cmd takes away the outer quotes and runs the rest: the batch file's own path stays quoted.
        commandLine = QStringLiteral("cmd.exe /d /c \"\"") + command.program() + QLatin1Char('"') +
                      command.argumentText() + QLatin1Char('"');
    } else {
        process.setProgram(command.program());
        commandLine = run::quotedArgument(QDir::toNativeSeparators(command.program())) + command.argumentText();
    }
    // CreateProcess may write into the text it is given: a buffer of its own, alive as long as the process object.
    auto text = std::make_shared<std::wstring>(commandLine.toStdWString());
    DWORD flags = mayBreakAwayFromOwnJob() ? CREATE_BREAKAWAY_FROM_JOB : 0;
    // 16-bit Windows programs share one DOS machine unless asked otherwise: a tool's own is the tool's
    // alone to stop. (A DOS program always gets an NTVDM process of its own.)
    if (!command.isOwnBatchFile() && !command.namesBatchFile() &&
        platform::programKindAt(command.program()).kind == platform::ProgramKind::Kind::Windows16Program)
        flags |= CREATE_SEPARATE_WOW_VDM;
    process.setCreateProcessArgumentsModifier([text, flags](QProcess::CreateProcessArguments* arguments) {
        // Exactly the command line assembled: Qt would put a blank of its own after the program.
        arguments->arguments = text->data();
        // At normal priority, inheriting Vellmore's inheritable handles, held until it is in the job.
        arguments->flags |= NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED | flags;
        arguments->inheritHandles = TRUE;
    });
}

namespace {

// Lets every thread of a process run that was created held.
void resumeThreadsOf(DWORD processId)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        if (const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            ResumeThread(thread);
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
}

} // namespace

void ToolProcesses::adopt(QProcess& process)
{
    const auto id = DWORD(process.processId());
    if (const HANDLE handle = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, id)) {
        d->adopted = d->job && AssignProcessToJobObject(d->job, handle);
        CloseHandle(handle);
    }
    if (!d->adopted)
        d->root = platform::processTreeRoot(id);
    resumeThreadsOf(id);
}

void ToolProcesses::askToEnd(QProcess& process)
{
    // A console tool has no window to close: it ends when the grace time is over.
    process.terminate();
}

void ToolProcesses::kill(QProcess& process)
{
    if (d->adopted) {
        TerminateJobObject(d->job, 1);
    } else if (d->root.id != 0) {
        platform::endProcessTree(d->root);
    }
    process.kill();
}

bool ToolProcesses::anyRunning() const
{
    if (!d->adopted)
        return d->root.id != 0 && !platform::runningProcessTree(d->root).empty();
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(d->job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                   nullptr))
        return false;
    return accounting.ActiveProcesses > 0;
}

QString ToolProcesses::survivors() const
{
    // What a job (or the process tree) could not end, Windows does not say why.
    return anyRunning() ? QStringLiteral("some of its processes could not be ended") : QString();
}

QString startFailure(const QProcess& process)
{
    // Qt asks the system for the text without ignoring its inserts, and a text that holds "%1"
    // (error 193, not a valid program) then comes back as "Unknown error 0x000000c1": the code in it
    // gives the whole text.
    const QString said = process.errorString();
    static const QRegularExpression unknown(QStringLiteral("Unknown error 0x([0-9a-fA-F]+)"));
    const QRegularExpressionMatch code = unknown.match(said);
    if (code.hasMatch())
        return platform::windowsErrorText(code.captured(1).toULong(nullptr, 16), process.program());
    const qsizetype colon = said.indexOf(QLatin1String(": "));
    return colon < 0 ? said : said.mid(colon + 2);
}

RunOutcome endOf(const QProcess& process)
{
    const auto status = static_cast<quint32>(process.exitCode());
    // The loader ends a program whose libraries it cannot find before the program runs at all.
    if (status == 0xC0000135u) {
        const QStringList missing = platform::missingLibraries(process.program());
        return RunOutcome::notStarted(
            missing.isEmpty()
                ? QStringLiteral("a library it needs is missing")
                : QStringLiteral("it needs %1, which Windows cannot find").arg(missing.join(QStringLiteral(", "))));
    }
    if (status == 0xC000007Bu)
        return RunOutcome::notStarted(QStringLiteral("a library it needs is not the right kind"));
    // A DOS program that the system hands to a DOS machine it does not have (Wine without DOSBox, a
    // Windows without NTVDM) ends at once with a failure status: it never ran.
    if (status >= 0xC0000000u) {
        if (platform::programKindAt(process.program()).needsDosMachine())
            return RunOutcome::notStarted(QStringLiteral("it ended at once with status 0x") +
                                          QStringLiteral("%1").arg(status, 8, 16, QLatin1Char('0')).toUpper());
    }
    // A program the system ended for a fault has a status such as 0xC0000005, not a signal.
    if (process.exitStatus() != QProcess::CrashExit)
        return RunOutcome::exited(status);
    RunOutcome crashed = RunOutcome::crashed(status);
    // A tool that reads or writes the port's registers itself needs its port driver to let it.
    if (status == 0xC0000096u)
        crashed.why = QStringLiteral("a privileged instruction: the tool reached for the port without its port "
                                     "driver, and Windows refused; install the driver that comes with the tool (on "
                                     "64-bit Windows, Memory Integrity and the driver blocklist must allow it: "
                                     "vellmore-cli doctor tells)");
    return crashed;
}

} // namespace run
