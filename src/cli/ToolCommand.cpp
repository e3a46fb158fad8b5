#include "CliContext.h"

#include "cart/CartOperations.h"
#include "multirom/MultiromLayout.h"

#include <QFileInfo>
#include <QMap>

namespace cli {

namespace {

const QMap<QString, int> saveSizes{
    {QStringLiteral("32K"), 1}, {QStringLiteral("64K"), 2}, {QStringLiteral("128K"), 3}, {QStringLiteral("256K"), 4}};

} // namespace

int toolCommand(const QString& name, const QStringList& args)
{
    const bool flash = name == QLatin1String("flash");
    const bool backupSave = name == QLatin1String("backup-save");
    const bool restoreSave = name == QLatin1String("restore-save");
    CliContext context(name,
                       flash         ? QStringLiteral("MULTIROM")
                       : restoreSave ? QStringLiteral("FILE")
                                     : QStringLiteral("OUTPUT"),
                       flash         ? QStringLiteral("Writes the multirom to the cart with the tool.")
                       : backupSave  ? QStringLiteral("Backs up a save bank of the cart into OUTPUT, a new file.")
                       : restoreSave ? QStringLiteral("Restores the saved game FILE into a save bank.")
                                     : QStringLiteral("Backs up the whole cart into OUTPUT, a new file."));
    context.addPortOptions();
    QCommandLineParser& parser = context.parser();
    if (flash)
        parser.addOption({QStringLiteral("no-header-repair"), QStringLiteral("Leave the header as it is.")});
    if (backupSave || restoreSave)
        parser.addOption({QStringLiteral("bank"), QStringLiteral("The save bank, 1 to 4 (1)."), QStringLiteral("N")});
    if (backupSave)
        parser.addOption(
            {QStringLiteral("size"), QStringLiteral("32K, 64K, 128K or 256K (32K)."), QStringLiteral("SIZE")});
    if (!flash && !backupSave && !restoreSave)
        context.addChipOption(QStringLiteral("The chip: 8, 16, 32, 64, 128 or 256 Mbit."));
    const bool backup = !flash && !restoreSave;
    if (backup)
        parser.addOption({QStringLiteral("force"), QStringLiteral("Replace OUTPUT if it exists.")});
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return context.badArgument(QStringLiteral("name exactly one file"));
    const QString file = parser.positionalArguments().first();
    QString why;
    const std::optional<cart::PortSettings> port = context.portSettings(&why);
    if (!port)
        return context.badArgument(why);
    std::optional<int> bank = 1;
    if (backupSave || restoreSave)
        bank = context.number(QStringLiteral("bank"), 1, 4, 1, &why);
    if (!bank)
        return context.badArgument(why);
    const QString size = backupSave ? parser.value(QStringLiteral("size")).toUpper() : QString();
    if (backupSave && parser.isSet(QStringLiteral("size")) && !saveSizes.contains(size))
        return context.badArgument(QStringLiteral("--size takes 32K, 64K, 128K or 256K, not \"%1\"").arg(size));
    std::optional<int> chip = 0;
    if (!flash && !backupSave && !restoreSave) {
        chip = context.chip(true, &why);
        if (!chip)
            return context.badArgument(why);
    }

    // The window asks before a backup replaces a file; here --force says yes beforehand.
    if (backup && QFileInfo::exists(file) && !parser.isSet(QStringLiteral("force"))) {
        const QString message = file + QStringLiteral(" exists: give --force to replace it with the backup");
        context.problem(message);
        context.print({{QStringLiteral("done"), false},
                       {QStringLiteral("stopped"), false},
                       {QStringLiteral("message"), message}});
        return Failed;
    }

    ConsoleRunner console(context);
    cart::ToolOutcome outcome;
    if (flash) {
        outcome = cart::flashMultirom(*port, !parser.isSet(QStringLiteral("no-header-repair")), file, console.runner());
    } else if (backupSave) {
        const int code = saveSizes.value(size, 1);
        outcome = cart::backupSave(*port, *bank, code, 32 << (code - 1), file, console.runner());
    } else if (restoreSave) {
        outcome = cart::restoreSave(*port, *bank, file, console.runner());
    } else {
        outcome = cart::backupCart(*port, *chip, file, console.runner());
    }
    if (outcome.succeeded)
        context.say(outcome.message);
    else
        context.problem(outcome.message);
    context.print({{QStringLiteral("done"), outcome.succeeded},
                   {QStringLiteral("stopped"), console.stopped()},
                   {QStringLiteral("message"), outcome.message}});
    return console.stopped() ? console.stopCode() : outcome.succeeded ? Done : Failed;
}

} // namespace cli
