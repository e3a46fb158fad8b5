#include "CliContext.h"

#include "multirom/GameHeader.h"
#include "multirom/MultiromLayout.h"

#include <QJsonArray>
#include <QLocale>

namespace cli {

int infoCommand(const QStringList& args)
{
    CliContext context(QStringLiteral("info"), QStringLiteral("GAME..."),
                       QStringLiteral("Reads each game image's header: title, game code, maker, version, whether "
                                      "the header checks, and the save memory the game asks for."));
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    const QStringList games = context.parser().positionalArguments();
    if (games.isEmpty())
        return context.badArgument(QStringLiteral("name at least one game image"));
    QJsonArray described;
    bool allCheck = true;
    const QLocale english(QLocale::English);
    for (const QString& game : games) {
        const multirom::GameHeader header = multirom::readGameHeader(game);
        const QString saveType =
            header.size >= multirom::gameHeaderSize ? multirom::saveTypeOf(game) : QStringLiteral("none");
        // No cart holds more than 256 Mbit: a larger image cannot be flashed, whatever its header says.
        const bool fitsCart = header.size <= multirom::chipBytes(256);
        allCheck = allCheck && header.checks() && fitsCart;
        context.say(game);
        context.say(QStringLiteral("  size:      %1 bytes%2")
                        .arg(english.toString(header.size),
                             fitsCart ? QString()
                                      : QStringLiteral(", more than the 33,554,432 of the largest cart (256 Mbit)")));
        if (header.size >= multirom::gameHeaderSize) {
            context.say(QStringLiteral("  title:     %1").arg(header.title));
            context.say(QStringLiteral("  game code: %1   maker: %2   version: %3")
                            .arg(header.gameCode, header.maker)
                            .arg(header.version));
            context.say(QStringLiteral("  save type: %1").arg(saveType));
        }
        context.say(QStringLiteral("  header:    %1").arg(header.checks() ? QStringLiteral("checks") : header.problem));
        described.append(QJsonObject{{QStringLiteral("path"), game},
                                     {QStringLiteral("size"), double(header.size)},
                                     {QStringLiteral("title"), header.title},
                                     {QStringLiteral("gameCode"), header.gameCode},
                                     {QStringLiteral("maker"), header.maker},
                                     {QStringLiteral("version"), header.version},
                                     {QStringLiteral("saveType"), saveType},
                                     {QStringLiteral("fitsCart"), fitsCart},
                                     {QStringLiteral("checks"), header.checks()},
                                     {QStringLiteral("problem"), header.problem}});
    }
    return context.finish(allCheck ? Done : Failed,
                          allCheck ? QStringLiteral("every header checks")
                                   : QStringLiteral("a header does not check, or a game is larger than a cart"),
                          {{QStringLiteral("games"), described}});
}

} // namespace cli
