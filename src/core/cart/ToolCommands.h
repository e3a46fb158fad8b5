#pragma once

#include "platform/CommandLine.h"

#include <QString>

namespace cart {

// What every operation that needs the tool says when none is chosen.
inline const QString toolMissingMessage = QStringLiteral("please select your Orbick location");

// The filter of both windows' tool choosers: the tool by its name, any program, any file.
inline const QString toolFileFilter =
    QStringLiteral("Orbick (OB.exe)|OB.exe|Program Files (*.exe)|*.exe|All Files (*.*)|*.*");

// How the tool reaches the cart, as one window's controls say at the moment an operation runs.
struct PortSettings {
    QString toolPath;
    int listIndex = -1; // the selected entry of the port list, -1 when none
    bool epp = true;
    QString waitStep = QStringLiteral("0"); // passed on unchanged
};

// LPT1 to LPT4 give 1 to 4; no list entry selected gives 1. The text shown is never read.
int portNumber(int listIndex);

// The four command lines of the flash tool. Each argument is one piece of the command
// line: rendered as text they read, for example, "C:\T\OB.exe -2 -w 0 -l 1 -p C:\M\multi.gba".
platform::CommandLine flashCommand(const PortSettings& port, bool repairHeader, const QString& multirom);
platform::CommandLine saveBackupCommand(const PortSettings& port, int bank, int sizeCode, const QString& output);
platform::CommandLine saveRestoreCommand(const PortSettings& port, int bank, const QString& savedGame);
platform::CommandLine cartBackupCommand(const PortSettings& port, int chipMbit, const QString& output);

} // namespace cart
