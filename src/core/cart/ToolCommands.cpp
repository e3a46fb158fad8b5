#include "cart/ToolCommands.h"

namespace cart {

namespace {

// EPP flag, wait step and port, the part every command line shares after the tool path.
QStringList portArguments(const PortSettings& port)
{
    QStringList arguments;
    if (port.epp)
        arguments << QStringLiteral("-2");
    arguments << QStringLiteral("-w") << port.waitStep << QStringLiteral("-l")
              << QString::number(portNumber(port.listIndex));
    return arguments;
}

} // namespace

int portNumber(int listIndex)
{
    return listIndex < 0 ? 1 : listIndex + 1;
}

platform::CommandLine flashCommand(const PortSettings& port, bool repairHeader, const QString& multirom)
{
    QStringList arguments;
    if (!repairHeader)
        arguments << QStringLiteral("-n");
    arguments << portArguments(port) << QStringLiteral("-p") << multirom;
    return platform::CommandLine(port.toolPath, arguments);
}

platform::CommandLine saveBackupCommand(const PortSettings& port, int bank, int sizeCode, const QString& output)
{
    return platform::CommandLine(port.toolPath, portArguments(port) << QStringLiteral("-b") << QString::number(bank)
                                                                    << QString::number(sizeCode) << output);
}

platform::CommandLine saveRestoreCommand(const PortSettings& port, int bank, const QString& savedGame)
{
    return platform::CommandLine(port.toolPath, portArguments(port)
                                                    << QStringLiteral("-r") << QString::number(bank) << savedGame);
}

platform::CommandLine cartBackupCommand(const PortSettings& port, int chipMbit, const QString& output)
{
    return platform::CommandLine(port.toolPath, portArguments(port) << QStringLiteral("-c") << QString::number(chipMbit)
                                                                    << QStringLiteral("-s") << output);
}

} // namespace cart
