// The commands that run the tool: flash, backup-save, restore-save and backup-cart. Each reads its own
// options and calls its core operation; ToolCommandLine holds what they share: the port options, the
// one file they name, the checks before the tool runs, and how a run is reported.
#include "CliContext.h"
#include "ConsoleRunner.h"

#include "cart/CartOperations.h"
#include "cart/SaveSize.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

class ToolCommandLine {
public:
    // backup: the command writes its file (--force, and never into standard output).
    ToolCommandLine(const QString& name, const QString& file, const QString& description, bool backup)
        : m_context(name, file, description), m_backup(backup)
    {
        m_context.addPortOptions();
        if (backup)
            m_context.parser().addOption({QStringLiteral("force"), QStringLiteral("Replace OUTPUT if it exists.")});
    }

    CliContext& context() { return m_context; }
    const cart::PortSettings& port() const { return m_port; }
    const QString& file() const { return m_file; }

    // Reads the arguments: the exit code when the command ends here (help, a bad argument).
    std::optional<int> parse(const QStringList& args)
    {
        int exitCode = Done;
        if (!m_context.parse(args, &exitCode))
            return exitCode;
        if (m_context.parser().positionalArguments().size() != 1)
            return m_context.badArgument(QStringLiteral("name exactly one file"));
        m_file = m_context.parser().positionalArguments().first();
        QString why;
        const auto port = m_context.portSettings(&why);
        if (!port)
            return m_context.badArgument(why);
        m_port = *port;
        if (m_backup && platform::isStandardStream(m_file))
            return m_context.badArgument(m_file + QStringLiteral(" is where this command's messages go: give a file"));
        return std::nullopt;
    }

    // The checks before the tool runs, once every argument is good: the exit code when one fails.
    std::optional<int> refusal()
    {
        // The window asks before a backup replaces a file; here --force says yes beforehand.
        if (m_backup && QFileInfo::exists(m_file) && !m_context.parser().isSet(QStringLiteral("force")))
            return failure(m_file + QStringLiteral(" exists: give --force to replace it with the backup"));
        // The tool is named on this command line: where there is none, say so in these terms, not the window's.
        const QFileInfo tool(m_port.toolPath);
        const bool named = m_port.toolPath.contains(QLatin1Char('/')) || m_port.toolPath.contains(QDir::separator());
        if (named && !tool.exists())
            return failure(QStringLiteral("there is no tool at ") + m_port.toolPath +
                           QStringLiteral(": give the path of OB.exe to --tool"));
        if (tool.isDir())
            return failure(m_port.toolPath + QStringLiteral(" is a folder: give the path of OB.exe itself to --tool"));
        return std::nullopt;
    }

    int report(const cart::ToolOutcome& outcome, const ConsoleRunner& console)
    {
        outcome.succeeded ? m_context.say(outcome.message) : m_context.problem(outcome.message);
        return m_context.finish(console.stopped()   ? console.stopCode()
                                : outcome.succeeded ? Done
                                                    : Failed,
                                outcome.message);
    }

private:
    int failure(const QString& message)
    {
        m_context.problem(message);
        return m_context.finish(Failed, message);
    }

    CliContext m_context;
    bool m_backup;
    cart::PortSettings m_port;
    QString m_file;
};

void addBankOption(CliContext& context)
{
    context.parser().addOption(
        {QStringLiteral("bank"), QStringLiteral("The save bank, 1 to 4 (1)."), QStringLiteral("N")});
}

// The bank asked for; nothing, with the exit code of a bad --bank in *exit.
std::optional<int> bankOf(CliContext& context, int* exit)
{
    QString why;
    const auto bank = context.number(QStringLiteral("bank"), 1, 4, 1, &why);
    if (!bank)
        *exit = context.badArgument(why);
    return bank;
}

} // namespace

int flashCommand(const QStringList& args)
{
    ToolCommandLine line(QStringLiteral("flash"), QStringLiteral("MULTIROM"),
                         QStringLiteral("Writes the multirom to the cart with the tool."), false);
    line.context().parser().addOption(
        {QStringLiteral("no-header-repair"), QStringLiteral("Leave the header as it is.")});
    if (const auto exit = line.parse(args))
        return *exit;
    if (const auto exit = line.refusal())
        return *exit;
    ConsoleRunner console(line.context());
    const bool repair = !line.context().parser().isSet(QStringLiteral("no-header-repair"));
    return line.report(cart::flashMultirom(line.port(), repair, line.file(), console.runner()), console);
}

int backupSaveCommand(const QStringList& args)
{
    ToolCommandLine line(QStringLiteral("backup-save"), QStringLiteral("OUTPUT"),
                         QStringLiteral("Backs up a save bank of the cart into OUTPUT, a new file."), true);
    addBankOption(line.context());
    line.context().parser().addOption(
        {QStringLiteral("size"), QStringLiteral("32K, 64K, 128K or 256K (32K)."), QStringLiteral("SIZE")});
    if (const auto exit = line.parse(args))
        return *exit;
    int badBank = Done;
    const auto bank = bankOf(line.context(), &badBank);
    if (!bank)
        return badBank;
    const QString named = line.context().parser().value(QStringLiteral("size"));
    const auto size =
        line.context().parser().isSet(QStringLiteral("size")) ? cart::saveSizeNamed(named) : cart::SaveSize::K32;
    if (!size)
        return line.context().badArgument(QStringLiteral("--size takes 32K, 64K, 128K or 256K, not \"%1\"").arg(named));
    if (const auto exit = line.refusal())
        return *exit;
    ConsoleRunner console(line.context());
    return line.report(cart::backupSave(line.port(), *bank, *size, line.file(), console.runner()), console);
}

int restoreSaveCommand(const QStringList& args)
{
    ToolCommandLine line(QStringLiteral("restore-save"), QStringLiteral("FILE"),
                         QStringLiteral("Restores the saved game FILE into a save bank."), false);
    addBankOption(line.context());
    if (const auto exit = line.parse(args))
        return *exit;
    int badBank = Done;
    const auto bank = bankOf(line.context(), &badBank);
    if (!bank)
        return badBank;
    if (const auto exit = line.refusal())
        return *exit;
    ConsoleRunner console(line.context());
    return line.report(cart::restoreSave(line.port(), *bank, line.file(), console.runner()), console);
}

int backupCartCommand(const QStringList& args)
{
    ToolCommandLine line(QStringLiteral("backup-cart"), QStringLiteral("OUTPUT"),
                         QStringLiteral("Backs up the whole cart into OUTPUT, a new file."), true);
    line.context().addChipOption(QStringLiteral("The chip: 8, 16, 32, 64, 128 or 256 Mbit."));
    if (const auto exit = line.parse(args))
        return *exit;
    QString why;
    const auto chip = line.context().chip(true, &why);
    if (!chip)
        return line.context().badArgument(why);
    if (const auto exit = line.refusal())
        return *exit;
    ConsoleRunner console(line.context());
    return line.report(cart::backupCart(line.port(), *chip, line.file(), console.runner()), console);
}

} // namespace cli
