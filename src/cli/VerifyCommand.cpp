#include "CliContext.h"
#include "ConsoleRunner.h"

#include "cart/CartVerify.h"
#include "multirom/GameList.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

QString sourceName(cart::PieceSource source)
{
    switch (source) {
    case cart::PieceSource::Files:
        return QStringLiteral("files");
    case cart::PieceSource::Record:
        return QStringLiteral("record");
    default:
        return QStringLiteral("scan");
    }
}

QString absolute(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

int verifyCommand(const QStringList& args)
{
    CliContext context(QStringLiteral("verify"), QStringLiteral("MULTIROM [GAME...]"),
                       QStringLiteral("Reads the cart back with a cart backup of the chip's size and compares it "
                                      "with the multirom. A difference is named by the game it falls in: from the "
                                      "loader and games given, else from the record compile left beside the "
                                      "multirom, else a guess from the headers in it."));
    context.addPortOptions();
    context.parser().addOption(
        {QStringLiteral("chip"), QStringLiteral("The chip: 8, 16, 32, 64, 128 or 256 Mbit."), QStringLiteral("MBIT")});
    context.parser().addOption({QStringLiteral("loader"),
                                QStringLiteral("The loader the multirom was compiled with; the games follow the "
                                               "multirom, in their order."),
                                QStringLiteral("FILE")});
    context.parser().addOption({QStringLiteral("no-header-repair"),
                                QStringLiteral("The flash left the header as it is (flash --no-header-repair): "
                                               "compare it unrepaired.")});
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    const QStringList files = context.parser().positionalArguments();
    const bool loaderGiven = context.parser().isSet(QStringLiteral("loader"));
    if (files.isEmpty())
        return context.badArgument(QStringLiteral("name the multirom"));
    if (loaderGiven != (files.size() > 1))
        return context.badArgument(QStringLiteral("name the loader with --loader and the games after the multirom, "
                                                  "both or neither"));
    QString why;
    const std::optional<cart::PortSettings> port = context.portSettings(&why);
    if (!port)
        return context.badArgument(why);
    const auto chip = context.chip(true, &why);
    if (!chip)
        return context.badArgument(why);

    cart::VerifyRequest request;
    request.port = *port;
    request.chipMbit = *chip;
    request.multirom = files.first();
    request.headerRepaired = !context.parser().isSet(QStringLiteral("no-header-repair"));
    if (loaderGiven) {
        request.loader = absolute(context.parser().value(QStringLiteral("loader")));
        request.games = multirom::gameListOf(files.mid(1), platform::fileNameCaseSensitivity());
    }
    ConsoleRunner console(context);
    const cart::VerifyOutcome outcome = cart::verifyCart(request, console.runner());
    outcome.verified ? context.say(outcome.message) : context.problem(outcome.message);
    return context.finish(console.stopped()  ? console.stopCode()
                          : outcome.verified ? Done
                                             : Failed,
                          outcome.message,
                          {{QStringLiteral("matching"), double(outcome.matching)},
                           {QStringLiteral("compared"), outcome.ran},
                           {QStringLiteral("pieces"), sourceName(outcome.source)}});
}

} // namespace cli
