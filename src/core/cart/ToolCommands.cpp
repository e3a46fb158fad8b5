#include "cart/ToolCommands.h"

namespace cart {

namespace {

// EPP flag, wait step and port, the part every command line shares after the tool path.
QStringList portArguments(const PortSettings& port)
{
    QStringList arguments;
    if (port.epp)
        arguments << QStringLiteral("-2");
    arguments << QStringLiteral("-w") << port.waitStep << QStringLiteral("-l") << QString::number(port.port);
    return arguments;
}

} // namespace

run::CommandLine flashCommand(const PortSettings& port, bool repairHeader, const QString& multirom)
{
    QStringList arguments;
    if (!repairHeader)
        arguments << QStringLiteral("-n");
    arguments << portArguments(port) << QStringLiteral("-p") << multirom;
    return run::CommandLine(port.toolPath, arguments);
}

run::CommandLine saveBackupCommand(const PortSettings& port, int bank, int sizeCode, const QString& output)
{
    return run::CommandLine(port.toolPath, portArguments(port) << QStringLiteral("-b") << QString::number(bank)
                                                               << QString::number(sizeCode) << output);
}

run::CommandLine saveRestoreCommand(const PortSettings& port, int bank, const QString& savedGame)
{
    return run::CommandLine(port.toolPath, portArguments(port)
                                               << QStringLiteral("-r") << QString::number(bank) << savedGame);
}

run::CommandLine cartBackupCommand(const PortSettings& port, int chipMbit, const QString& output)
{
    return run::CommandLine(port.toolPath, portArguments(port) << QStringLiteral("-c") << QString::number(chipMbit)
                                                               << QStringLiteral("-s") << output);
}

} // namespace cart
