#include "CliContext.h"
#include "ConsoleRunner.h"

#include "cart/CartOperations.h"
#include "multirom/MultiromLayout.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace cli {

namespace {

const QMap<QString, int> saveSizes{
    {QStringLiteral("32K"), 1}, {QStringLiteral("64K"), 2}, {QStringLiteral("128K"), 3}, {QStringLiteral("256K"), 4}};

// A tool that is not there, or is no file, gets no run: the window's words for it speak of its boxes.
std::optional<QString> toolProblem(const QString& tool)
{
    const QFileInfo file(tool);
    const bool named = tool.contains(QLatin1Char('/')) || tool.contains(QDir::separator());
    if (named && !file.exists())
        return QStringLiteral("there is no tool at ") + tool + QStringLiteral(": give the path of OB.exe to --tool");
    if (file.isDir())
        return tool + QStringLiteral(" is a folder: give the path of OB.exe itself to --tool");
    return std::nullopt;
}

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
    if (backup && platform::isStandardStream(file))
        return context.badArgument(file + QStringLiteral(" is where this command's messages go: give a file"));

    // The window asks before a backup replaces a file; here --force says yes beforehand.
    if (backup && QFileInfo::exists(file) && !parser.isSet(QStringLiteral("force"))) {
        const QString message = file + QStringLiteral(" exists: give --force to replace it with the backup");
        context.problem(message);
        return context.finish(Failed, message);
    }
    // The tool is named on this command line: where there is none, say so in these terms.
    if (const auto missing = toolProblem(port->toolPath)) {
        context.problem(*missing);
        return context.finish(Failed, *missing);
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
    return context.finish(console.stopped() ? console.stopCode() : outcome.succeeded ? Done : Failed, outcome.message);
}

} // namespace cli
