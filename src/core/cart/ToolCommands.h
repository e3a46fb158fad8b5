#pragma once

#include "run/CommandLine.h"

#include <QString>

namespace cart {

// How the tool reaches the cart, as one window's controls say at the moment an operation runs.
struct PortSettings {
    QString toolPath;
    int port = 1; // the parallel port: 1 to 4 for LPT1 to LPT4
    bool epp = true;
    QString waitStep = QStringLiteral("0"); // passed on unchanged
};

// The four command lines of the flash tool. Each argument is one piece of the command
// line: rendered as text they read, for example, "C:\T\OB.exe -2 -w 0 -l 1 -p C:\M\multi.gba".
run::CommandLine flashCommand(const PortSettings& port, bool repairHeader, const QString& multirom);
run::CommandLine saveBackupCommand(const PortSettings& port, int bank, int sizeCode, const QString& output);
run::CommandLine saveRestoreCommand(const PortSettings& port, int bank, const QString& savedGame);
run::CommandLine cartBackupCommand(const PortSettings& port, int chipMbit, const QString& output);

} // namespace cart
