#include "CliContext.h"
#include "ConsoleRunner.h"

#include "multirom/CompileSequence.h"
#include "multirom/GameList.h"
#include "multirom/LayoutRecord.h"
#include "multirom/MultiromLayout.h"
#include "platform/FolderPath.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLocale>
#include <QTemporaryDir>

namespace cli {

int compileCommand(const QStringList& args)
{
    CliContext context(QStringLiteral("compile"), QStringLiteral("GAME..."),
                       QStringLiteral("Builds the multirom as the main window's Compile does (the loader, then the "
                                      "games in the order given), and shows where each piece lies in it."));
    QCommandLineParser& parser = context.parser();
    parser.addOption({QStringLiteral("loader"), QStringLiteral("The loader file."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("output"), QStringLiteral("The multirom to write."), QStringLiteral("PATH")});
    context.addChipOption(QStringLiteral("Refuse a multirom larger than a chip of MBIT."));
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    if (parser.value(QStringLiteral("loader")).isEmpty() || parser.value(QStringLiteral("output")).isEmpty())
        return context.badArgument(QStringLiteral("--loader and --output are needed"));
    if (platform::isStandardStream(parser.value(QStringLiteral("output"))))
        return context.badArgument(parser.value(QStringLiteral("output")) +
                                   QStringLiteral(" is where this command's messages go: give --output a file"));
    if (parser.positionalArguments().isEmpty())
        return context.badArgument(QStringLiteral("name at least one game"));
    QString why;
    const auto chip = context.chip(false, &why);
    if (!chip)
        return context.badArgument(why);

    const QString loader =
        QDir::toNativeSeparators(QFileInfo(parser.value(QStringLiteral("loader"))).absoluteFilePath());
    const QString output =
        QDir::toNativeSeparators(QFileInfo(parser.value(QStringLiteral("output"))).absoluteFilePath());
    const QStringList games = multirom::gameListOf(parser.positionalArguments(), platform::fileNameCaseSensitivity());
    if (const auto refusal = multirom::listSizeRefusal(int(games.size()), int(games.size())))
        return context.badArgument(*refusal);
    const QList<multirom::MultiromPiece> pieces = multirom::layoutOfFiles(loader, games);
    const qint64 total = pieces.isEmpty() ? 0 : pieces.last().offset + pieces.last().size;
    const QLocale english(QLocale::English);
    if (*chip != 0 && total > multirom::chipBytes(*chip)) {
        const QString message =
            QStringLiteral("the multirom would hold %1 bytes, more than a %2 Mbit chip's %3; nothing was written")
                .arg(english.toString(total))
                .arg(*chip)
                .arg(english.toString(multirom::chipBytes(*chip)));
        context.problem(message);
        return context.finish(Failed, message,
                              {{QStringLiteral("output"), output}, {QStringLiteral("size"), double(total)}});
    }

    ConsoleRunner console(context);
    multirom::CompileRequest request;
    request.loader = loader;
    request.output = output;
    request.games = games;
    // The batch file goes in a folder of its own: a read-only current folder, or the user's own flash.bat
    // there, has nothing to do with a multirom written elsewhere.
    const QTemporaryDir batchFolder;
    if (!batchFolder.isValid()) {
        const QString message = QStringLiteral("cannot make a folder for the batch file: ") + batchFolder.errorString();
        context.problem(message);
        return context.finish(Failed, message);
    }
    request.browserFolder = platform::normalisedFolderPath(batchFolder.path());
    const multirom::CompileOutcome outcome = multirom::compileMultirom(request, console.runner());
    QStringList said;
    if (outcome.compiled) {
        said.append(QStringLiteral("Compiled to ") + output);
        context.say(said.last());
    }
    for (const QString& message : outcome.messages) {
        said.append(message.simplified());
        context.problem(said.last());
    }
    // The record of the pieces, so that a later verify names them from these files.
    if (outcome.compiled) {
        if (const auto unrecorded = multirom::writeLayoutRecord(output, pieces))
            context.problem(QStringLiteral("the layout could not be recorded beside the multirom (%1), so verify "
                                           "will guess where each game lies unless it is given the files")
                                .arg(*unrecorded));
    }

    QJsonArray layout;
    if (outcome.compiled) {
        context.say(QStringLiteral("offset      size        piece"));
        for (const multirom::MultiromPiece& piece : pieces) {
            const QString name =
                piece.number == 0 ? QStringLiteral("loader") : QStringLiteral("game %1").arg(piece.number);
            context.say(QStringLiteral("%1  %2  %3 '%4'")
                            .arg(multirom::hexText(piece.offset, 8), english.toString(piece.size).rightJustified(10),
                                 name, piece.title));
            layout.append(QJsonObject{{QStringLiteral("piece"), name},
                                      {QStringLiteral("path"), piece.path},
                                      {QStringLiteral("offset"), double(piece.offset)},
                                      {QStringLiteral("size"), double(piece.size)},
                                      {QStringLiteral("title"), piece.title}});
        }
        QStringList fits;
        for (const int mbit : {64, 128, 256})
            fits.append(
                QStringLiteral("%1 Mbit: %2")
                    .arg(mbit)
                    .arg(total <= multirom::chipBytes(mbit) ? QStringLiteral("fits") : QStringLiteral("too large")));
        context.say(QStringLiteral("total %1 bytes; %2").arg(english.toString(total), fits.join(QStringLiteral(", "))));
    }
    return context.finish(console.stopped()  ? console.stopCode()
                          : outcome.compiled ? Done
                                             : Failed,
                          said.join(QStringLiteral("; ")),
                          {{QStringLiteral("output"), output},
                           {QStringLiteral("size"), double(total)},
                           {QStringLiteral("layout"), layout}});
}

} // namespace cli
