#include "multirom/CompileSequence.h"

#include "multirom/CompilePlan.h"
#include "multirom/PathRules.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"
#include "platform/FolderReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace multirom {

namespace {

// Why the copy did not give the multirom, or nothing when it did. The copy writes a new file
// beside the output (built); the output itself stays as it stood until that file is known whole.
std::optional<QString> copyFailure(const run::RunOutcome& outcome, const QString& batchPath, const QString& output,
                                   const QString& built, qint64 expectedSize)
{
    if (outcome.kind == run::RunOutcome::Kind::NotStarted)
        return QStringLiteral("the batch file ") + batchPath + QStringLiteral(" could not be started") +
               (outcome.why.isEmpty() ? QString() : QStringLiteral(": ") + outcome.why);
    if (!outcome.succeeded())
        return QStringLiteral("the copy ended with ") + outcome.describeWithReason();
    const qint64 size = platform::FileStamp::of(built).size;
    if (size <= 0)
        return QFileInfo::exists(output) ? QStringLiteral("the copy ended without writing ") + output +
                                               QStringLiteral("; the file there is the one from before")
                                         : output + QStringLiteral(" was not written");
    if (size != expectedSize)
        return QStringLiteral("the copy gave %1 bytes, expected %2 (a file changed while it was read); %3 stays "
                              "as it was")
            .arg(size)
            .arg(expectedSize)
            .arg(output);
    return std::nullopt;
}

QString batchFileInTheWay(const QString& batchPath)
{
    return QStringLiteral("there is already something named flash.bat here: ") + batchPath +
           QStringLiteral("\nplease move it elsewhere, then compile again");
}

// Whatever stands at the batch file's place must not be lost: only a batch file that an
// earlier compile left behind may go. Nothing when the place is free.
std::optional<QString> batchPlaceProblem(const QString& batchPath)
{
    const QFileInfo standing(batchPath);
    if (!standing.exists() && !standing.isSymLink())
        return std::nullopt;
    constexpr qint64 largestLeftover = 64 * 1024;
    bool leftover = false;
    if (!standing.isSymLink() && standing.isFile() && standing.size() <= largestLeftover) {
        QFile file(batchPath);
        leftover = file.open(QIODevice::ReadOnly) && isLeftoverBatchFile(file.read(largestLeftover + 1));
    }
    if (!leftover)
        return batchFileInTheWay(batchPath);
    const platform::Deletion deletion = platform::deleteFile(batchPath);
    if (!deletion.gone)
        return QStringLiteral("cannot delete ") + batchPath + QStringLiteral(": ") + deletion.reason;
    return std::nullopt;
}

// Creates the batch file new, never through a link nor over anything already there.
std::optional<QString> writeBatchFile(const QString& batchPath, const QByteArray& content)
{
    QFile batch(batchPath);
    errno = 0;
    if (!batch.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const int failure = errno;
        if (failure == EEXIST)
            return batchFileInTheWay(batchPath);
        return QStringLiteral("cannot write ") + batchPath + QStringLiteral(": ") +
               (failure != 0 ? platform::systemErrorText(failure) : batch.errorString());
    }
    errno = 0;
    const bool written = batch.write(content) == content.size() && batch.flush();
    const int failure = errno;
    const QString reason = failure != 0 ? platform::systemErrorText(failure) : batch.errorString();
    batch.close();
    if (written)
        return std::nullopt;
    batch.remove();
    return QStringLiteral("cannot write ") + batchPath + QStringLiteral(": ") + reason;
}

} // namespace

CompileChoice firstMissingChoice(const CompileRequest& request)
{
    if (request.output.isEmpty())
        return CompileChoice::Output;
    if (request.games.isEmpty())
        return CompileChoice::Games;
    if (request.loader.isEmpty())
        return CompileChoice::Loader;
    return CompileChoice::None;
}

QString missingChoiceMessage(CompileChoice choice)
{
    switch (choice) {
    case CompileChoice::Output:
        return QStringLiteral("no output file selected");
    case CompileChoice::Games:
        return QStringLiteral("you need to have some games, ne?");
    case CompileChoice::Loader:
        return QStringLiteral("please select a loader");
    case CompileChoice::None:
        break;
    }
    return QString();
}

CompileOutcome compileMultirom(const CompileRequest& request, const run::ProgramRunner& run)
{
    CompileOutcome outcome;
    outcome.missing = firstMissingChoice(request);
    if (outcome.missing != CompileChoice::None) {
        outcome.messages.append(missingChoiceMessage(outcome.missing));
        return outcome;
    }
    const QString& loader = request.loader;
    const QString& output = request.output;
    const QStringList& games = request.games;

    // Nothing is written until every path is known to be safe and every input is there.
    if (const auto unquotable = firstUnquotablePath(QStringList{loader, output} + games)) {
        outcome.messages.append(QStringLiteral("a path with a double quote or a line break cannot be used: ") +
                                *unquotable);
        return outcome;
    }
    const QString batchPath = composeInFolder(request.browserFolder, batchFileName);
    if (batchPath.isEmpty()) {
        outcome.messages.append(QStringLiteral("no folder is open in the file browser"));
        return outcome;
    }
    // One compile at a time in a folder: a second would take the first one's flash.bat for a leftover.
    const platform::FolderLock lock(QFileInfo(batchPath).absolutePath());
    if (!lock.held()) {
        outcome.messages.append(QStringLiteral("another compile is running in ") +
                                QDir::toNativeSeparators(QFileInfo(batchPath).absolutePath()) +
                                QStringLiteral(": wait until it has ended, then compile again"));
        return outcome;
    }
    if (const auto problem = compileInputProblem(loader, games, output, batchPath)) {
        outcome.messages.append(*problem);
        return outcome;
    }
    QStringList inputForms;
    for (const QString& input : QStringList{loader} + games) {
        const std::optional<QString> form = batchForm(input);
        if (!form) {
            outcome.messages.append(noBatchFormMessage(input, input));
            return outcome;
        }
        inputForms.append(*form);
    }

    // The copy builds the multirom as a new file beside the one it replaces; the old one goes
    // only once the new one is whole.
    const QString target = platform::writeTarget(output).path;
    // What a killed Vellmore left of an unfinished multirom here (often as large as the multirom) goes.
    platform::removeAbandonedFiles(QFileInfo(target).absolutePath());
    // Decided before the copy, so that a multirom that cannot take its place is never built in vain.
    const platform::ReplacementWay way = platform::replacementWay(target);
    if (way.problem) {
        outcome.messages.append(QStringLiteral("compile failed: ") + *way.problem);
        return outcome;
    }
    platform::NewFile built = platform::createFileBeside(target);
    // Where the folder allows no new file, the multirom is built in the temporary folder and written into the old one.
    if (built.path.isEmpty() && way.writeInto)
        built = platform::createFileBeside(QDir(QDir::tempPath()).filePath(QFileInfo(target).fileName()));
    if (built.path.isEmpty()) {
        outcome.messages.append(QStringLiteral("compile failed: cannot write ") + output + QStringLiteral(": ") +
                                built.problem);
        return outcome;
    }
    std::optional<QString> problem;
    const std::optional<QString> builtForm = batchForm(built.path);
    if (!builtForm)
        problem = noBatchFormMessage(output, built.path);
    if (!problem)
        problem = batchPlaceProblem(batchPath);
    if (!problem)
        problem =
            writeBatchFile(batchPath, batchFileContent(copyLine(inputForms.first(), inputForms.mid(1), *builtForm)));
    if (problem) {
        platform::deleteFile(built.path);
        outcome.messages.append(*problem);
        return outcome;
    }

    const qint64 expectedSize = expectedMultiromSize(loader, games);
    const run::RunOutcome ran = run(run::CommandLine::ownBatchFile(batchPath));
    outcome.filesTouched = true;

    std::optional<QString> failure = copyFailure(ran, batchPath, output, built.path, expectedSize);
    if (ran.kind != run::RunOutcome::Kind::Stopped && !failure) {
        if (const auto why =
                way.writeInto ? platform::writeIntoFile(target, built.path) : platform::replaceFile(target, built.path))
            failure = QStringLiteral("cannot replace ") + output + QStringLiteral(": ") + *why;
    }
    if (ran.kind == run::RunOutcome::Kind::Stopped) {
        outcome.messages.append(QStringLiteral("compile stopped: ") + ran.why);
    } else if (!failure) {
        outcome.compiled = true;
    } else {
        outcome.messages.append(QStringLiteral("compile failed: ") + *failure);
    }
    if (!outcome.compiled || way.writeInto)
        platform::deleteFile(built.path);
    // The multirom stands whether or not its batch file can go; the user hears of both.
    const platform::Deletion deletion = platform::deleteFile(batchPath);
    if (!deletion.gone)
        outcome.messages.append(QStringLiteral("cannot delete ") + batchPath + QStringLiteral(": ") + deletion.reason);
    return outcome;
}

} // namespace multirom
