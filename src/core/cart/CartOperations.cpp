#include "cart/CartOperations.h"

#include "multirom/PathRules.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <memory>

namespace cart {

QString toolFailureMessage(const run::RunOutcome& outcome, const QString& toolPath, const QString& operation)
{
    switch (outcome.kind) {
    case run::RunOutcome::Kind::NotStarted: {
        QString message = QStringLiteral("could not start ") + toolPath;
        if (!outcome.why.isEmpty())
            message += QStringLiteral(": ") + outcome.why;
        const QString foreign = platform::foreignProgramHint(toolPath);
        if (!foreign.isEmpty())
            message += QStringLiteral(" (") + foreign + QLatin1Char(')');
        return message;
    }
    case run::RunOutcome::Kind::Stopped:
        return operation + QStringLiteral(" stopped: ") + outcome.why +
               (outcome.survivors.isEmpty() ? QString() : QStringLiteral(", but ") + outcome.survivors);
    default:
        return operation + QStringLiteral(" failed: ") + outcome.describeWithReason();
    }
}

std::optional<QString> toolArgumentForm(const QString& path, const platform::BatchEncoder& encode,
                                        const multirom::ShortPathName& shortName)
{
    if (const auto form = multirom::batchForm(path, encode, shortName))
        return form;
    // A file not made yet has no short name: its folder may have one. The path keeps its own separators.
    const qsizetype cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    if (cut < 0 || QFileInfo::exists(path) || !encode(path.mid(cut + 1)))
        return std::nullopt;
    const bool atRoot = cut == 0 || path.at(cut - 1) == QLatin1Char(':');
    const auto folderForm = multirom::batchForm(path.left(atRoot ? cut + 1 : cut), encode, shortName);
    if (!folderForm)
        return std::nullopt;
    const bool endsInSeparator = folderForm->endsWith(QLatin1Char('/')) || folderForm->endsWith(QLatin1Char('\\'));
    return *folderForm + (endsInSeparator ? QString() : QString(path.at(cut))) + path.mid(cut + 1);
}

namespace {

const QString outputMissing = QStringLiteral("please select an output file");

// One check of an operation: when the choice is not made, the outcome tells which and why.
bool refuse(ToolOutcome& outcome, bool missing, ToolChoice choice, const QString& message)
{
    if (!missing)
        return false;
    outcome.missing = choice;
    outcome.message = message;
    return true;
}

// An empty wait step goes into the command line as "0", and the window shows it at once.
void fillWaitStep(PortSettings& port, ToolOutcome& outcome, const WaitStepFilled& filled)
{
    if (port.waitStep.isEmpty()) {
        port.waitStep = QString::number(0);
        outcome.waitStepFilled = true;
        if (filled)
            filled();
    }
}

// A backup's file must be one the tool may replace: never a folder, a device or a FIFO.
bool refuseOutputPlace(ToolOutcome& outcome, const QString& output)
{
    const auto problem = platform::outputPlaceProblem(output, QStringLiteral("backup"));
    if (!problem)
        return false;
    outcome.message = *problem;
    return true;
}

// A path the tool is given, in the form it receives whole (form), or the refusal that names the letter it
// would lose. placeholder: Vellmore made the backup's file, empty, before the run.
struct PassedPath {
    QString form;
    bool placeholder = false;
};

bool refuseUnpassable(ToolOutcome& outcome, const QString& path, PassedPath* passed)
{
    const auto passable = toolArgumentForm(path);
    if (passable) {
        passed->form = *passable;
        return false;
    }
    if (passed->placeholder)
        QFile::remove(platform::writeTarget(path).path);
    outcome.message =
        multirom::unpassablePathMessage(path, path, QStringLiteral("the tool"), platform::toolArgumentEncoder());
    return true;
}

// Whether the backup's file can be written, checked before the tool runs so that a read-only folder or
// drive is said in Vellmore's words, not the tool's. A file not there yet is made empty (the placeholder,
// which also gives it a short name for the tool); one that is there is opened for writing, untouched.
bool refuseUnwritableBackup(ToolOutcome& outcome, const QString& path, PassedPath* passed)
{
    const platform::WriteTarget target = platform::writeTarget(path);
    QFile file(target.path);
    const bool exists = target.kind == platform::WriteTarget::Kind::Ordinary;
    if (file.open(exists ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly | QIODevice::NewOnly)) {
        file.close();
        passed->placeholder = !exists;
        return false;
    }
    outcome.message =
        QStringLiteral("the backup cannot be written at ") + path + QStringLiteral(": ") + file.errorString();
    return true;
}

// The file a backup writes: its path, the size a whole backup has, and whether Vellmore made it empty
// before the run (for a short name the tool can read).
struct BackupFile {
    QString path;
    qint64 expectedSize = -1;
    bool placeholder = false;
};

// The file that stood where a backup goes, kept aside (a hidden copy beside it) while the tool runs: a
// run that fails or comes out short gets it back, written into the same file, so that its links and
// owner stay as they were.
class KeptFile {
public:
    explicit KeptFile(const QString& path) : m_path(path)
    {
        QFile original(path);
        if (!QFileInfo(path).isFile() || original.size() == 0 || !original.open(QIODevice::ReadOnly))
            return;
        const platform::NewFile aside = platform::createFileBeside(path, platform::NewFileKind::Kept);
        QFile copy(aside.path);
        if (aside.path.isEmpty() || !copy.open(QIODevice::WriteOnly) ||
            copy.write(original.readAll()) != original.size())
            QFile::remove(aside.path);
        else
            m_aside = aside.path;
    }
    ~KeptFile()
    {
        if (!m_aside.isEmpty())
            QFile::remove(m_aside);
    }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // Puts the kept file's bytes back; true when they are back.
    bool putBack() const
    {
        QFile copy(m_aside);
        QFile file(m_path);
        return !m_aside.isEmpty() && copy.open(QIODevice::ReadOnly) &&
               file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(copy.readAll()) == copy.size();
    }

private:
    QString m_path;
    QString m_aside;
};

QString bytes(qint64 count)
{
    return QLocale(QLocale::English).toString(count);
}

// Runs the tool; the success message only when it ended with exit code 0 and, for a backup, it wrote
// the file anew and whole: a file left as it stood before the run is an old backup, not this one, and
// one of another size than the backup's is cut short. The file that stood there comes back then.
void runTool(ToolOutcome& outcome, const run::ProgramRunner& run, const run::CommandLine& command,
             const QString& toolPath, const QString& operation, const BackupFile& backup, const QString& done)
{
    const QString& written = backup.path;
    // Vellmore's own empty placeholder stands for no file at all.
    const platform::FileStamp before =
        written.isEmpty() || backup.placeholder ? platform::FileStamp() : platform::FileStamp::of(written);
    const std::unique_ptr<KeptFile> kept(written.isEmpty() || backup.placeholder ? nullptr : new KeptFile(written));
    const run::RunOutcome ran = run(command);
    const platform::FileStamp after = written.isEmpty() ? platform::FileStamp() : platform::FileStamp::of(written);
    if (!ran.succeeded()) {
        outcome.message = toolFailureMessage(ran, toolPath, operation);
    } else if (backup.placeholder && after.size == 0) {
        outcome.message = operation + QStringLiteral(" failed: ") + written + QStringLiteral(" was not written");
    } else if (const auto unwritten = written.isEmpty()
                                          ? std::nullopt
                                          : platform::unwrittenReason(written, before, QStringLiteral("the tool"))) {
        outcome.message = operation + QStringLiteral(" failed: ") + *unwritten;
    } else if (backup.expectedSize >= 0 && after.size != backup.expectedSize) {
        outcome.message = operation + QStringLiteral(" failed: %1 holds %2 bytes, %3 expected")
                                          .arg(written, bytes(after.size), bytes(backup.expectedSize));
    } else {
        outcome.succeeded = true;
        outcome.message = done;
    }
    if (outcome.succeeded || written.isEmpty())
        return;
    if (backup.placeholder && QFileInfo(written).size() == 0)
        QFile::remove(platform::writeTarget(written).path);
    else if (kept && !(platform::FileStamp::of(written) == before) && kept->putBack())
        outcome.message += QStringLiteral("; the file that was there before is back in its place");
}

} // namespace

ToolOutcome flashMultirom(PortSettings port, bool repairHeader, const QString& multirom, const run::ProgramRunner& run,
                          const WaitStepFilled& filled)
{
    ToolOutcome outcome;
    if (refuse(outcome, multirom.isEmpty(), ToolChoice::File,
               QStringLiteral("you have to select the multi.gba to flash")) ||
        refuse(outcome, port.toolPath.isEmpty(), ToolChoice::Tool, multirom::toolMissingMessage))
        return outcome;
    fillWaitStep(port, outcome, filled);
    PassedPath passed;
    if (refuseUnpassable(outcome, multirom, &passed))
        return outcome;
    runTool(outcome, run, flashCommand(port, repairHeader, passed.form), port.toolPath, QStringLiteral("flash"), {},
            QStringLiteral("Flashed!"));
    return outcome;
}

ToolOutcome backupSave(PortSettings port, int bank, SaveSize size, const QString& output, const run::ProgramRunner& run,
                       const WaitStepFilled& filled)
{
    ToolOutcome outcome;
    if (refuse(outcome, port.toolPath.isEmpty(), ToolChoice::Tool, multirom::toolMissingMessage))
        return outcome;
    fillWaitStep(port, outcome, filled);
    PassedPath passed;
    if (refuse(outcome, output.isEmpty(), ToolChoice::File, outputMissing) || refuseOutputPlace(outcome, output) ||
        refuseUnwritableBackup(outcome, output, &passed) || refuseUnpassable(outcome, output, &passed))
        return outcome;
    runTool(outcome, run, saveBackupCommand(port, bank, sizeCode(size), passed.form), port.toolPath,
            QStringLiteral("backup"), {output, sizeBytes(size), passed.placeholder},
            sizeName(size) + QStringLiteral(" save backed up to ") + output);
    return outcome;
}

ToolOutcome restoreSave(PortSettings port, int bank, const QString& savedGame, const run::ProgramRunner& run,
                        const WaitStepFilled& filled)
{
    ToolOutcome outcome;
    fillWaitStep(port, outcome, filled);
    if (refuse(outcome, port.toolPath.isEmpty(), ToolChoice::Tool, multirom::toolMissingMessage) ||
        refuse(outcome, savedGame.isEmpty(), ToolChoice::File, QStringLiteral("please select your saved game file")))
        return outcome;
    // The tool is not trusted to notice a saved game that is not there.
    const auto unreadable = platform::inputFileProblem(savedGame);
    PassedPath passed;
    if (refuse(outcome, unreadable.has_value(), ToolChoice::File, unreadable.value_or(QString())) ||
        refuseUnpassable(outcome, savedGame, &passed))
        return outcome;
    runTool(outcome, run, saveRestoreCommand(port, bank, passed.form), port.toolPath, QStringLiteral("restore"), {},
            QStringLiteral("save restored!"));
    return outcome;
}

ToolOutcome backupCart(PortSettings port, int chipMbit, const QString& output, const run::ProgramRunner& run,
                       const WaitStepFilled& filled)
{
    ToolOutcome outcome;
    if (refuse(outcome, port.toolPath.isEmpty(), ToolChoice::Tool, multirom::toolMissingMessage) ||
        refuse(outcome, output.isEmpty(), ToolChoice::File, outputMissing))
        return outcome;
    fillWaitStep(port, outcome, filled);
    PassedPath passed;
    if (refuseOutputPlace(outcome, output) || refuseUnwritableBackup(outcome, output, &passed) ||
        refuseUnpassable(outcome, output, &passed))
        return outcome;
    runTool(outcome, run, cartBackupCommand(port, chipMbit, passed.form), port.toolPath, QStringLiteral("backup"),
            {output, qint64(chipMbit) * 131072, passed.placeholder},
            QString::number(chipMbit) + QStringLiteral("mbit game backed up to ") + output);
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
    const platform::Deletion deletion = platform::deleteFile(path);
    outcome.gone = deletion.gone;
    if (!outcome.gone)
        outcome.message = QStringLiteral("cannot delete ") + path + QStringLiteral(": ") + deletion.reason;
    return outcome;
}

} // namespace cart
