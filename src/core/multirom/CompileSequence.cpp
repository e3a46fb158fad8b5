#include "multirom/CompileSequence.h"

#include "multirom/CompilePlan.h"
#include "multirom/PathRules.h"
#include "platform/FolderReader.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace multirom {

namespace {

CompileChoice firstMissingChoice(const CompileRequest& request)
{
    if (request.output.isEmpty())
        return CompileChoice::Output;
    if (request.games.isEmpty())
        return CompileChoice::Games;
    if (request.loader.isEmpty())
        return CompileChoice::Loader;
    if (request.toolPath.isEmpty())
        return CompileChoice::Tool;
    return CompileChoice::None;
}

QString fileErrorText(const QFile& file)
{
    return errno != 0 ? platform::systemErrorText(errno) : file.errorString();
}

// Why the copy did not give the multirom, or nothing when it did.
QString copyFailure(const platform::RunOutcome& outcome, const QString& batchPath, const QString& output,
                    qint64 expectedSize)
{
    if (outcome.kind == platform::RunOutcome::Kind::NotStarted)
        return QStringLiteral("the batch file ") + batchPath + QStringLiteral(" could not be started");
    if (!outcome.succeeded())
        return QStringLiteral("the copy ended with ") + outcome.describe();
    const QFileInfo written(output);
    if (!written.exists())
        return output + QStringLiteral(" was not written");
    if (written.size() != expectedSize)
        return QStringLiteral("%1 holds %2 bytes, expected %3").arg(output).arg(written.size()).arg(expectedSize);
    return QString();
}

} // namespace

QString missingChoiceMessage(CompileChoice choice)
{
    switch (choice) {
    case CompileChoice::Output:
        return QStringLiteral("no output file selected");
    case CompileChoice::Games:
        return QStringLiteral("you need to have some games, ne?");
    case CompileChoice::Loader:
        return QStringLiteral("please select a loader");
    case CompileChoice::Tool:
        return QStringLiteral("please select your Orbick location");
    case CompileChoice::None:
        break;
    }
    return QString();
}

CompileOutcome compileMultirom(const CompileRequest& request, const platform::ProgramRunner& run)
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
    if (const auto problem = compileInputProblem(loader, games, output)) {
        outcome.messages.append(*problem);
        return outcome;
    }

    const QString batchPath = composeInFolder(request.browserFolder, batchFileName);
    QFile batch(batchPath);
    errno = 0;
    if (!batch.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        batch.write(batchFileContent(copyLine(loader, games, output))) < 0 || !batch.flush()) {
        const QString reason = fileErrorText(batch);
        batch.close();
        batch.remove();
        outcome.messages.append(QStringLiteral("cannot write ") + batchPath + QStringLiteral(": ") + reason);
        return outcome;
    }
    batch.close();

    const qint64 expectedSize = expectedMultiromSize(loader, games);
    const platform::RunOutcome ran = run(platform::CommandLine(batchPath));
    outcome.filesTouched = true;

    int deleteError = 0;
    if (!platform::deleteFile(batchPath, &deleteError) && deleteError != ENOENT) {
        outcome.messages.append(QStringLiteral("cannot delete ") + batchPath + QStringLiteral(": ") +
                                platform::systemErrorText(deleteError));
        return outcome;
    }

    const QString failure = copyFailure(ran, batchPath, output, expectedSize);
    if (failure.isEmpty()) {
        outcome.messages.append(QStringLiteral("Compiled to ") + output + QStringLiteral("\n\r\n\rpress Flash for fun!"));
        outcome.compiled = true;
    } else {
        outcome.messages.append(QStringLiteral("compile failed: ") + failure);
    }
    return outcome;
}

} // namespace multirom
