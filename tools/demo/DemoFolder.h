#pragma once

#include <QString>

// A folder to try Vellmore in without hardware: the loader, a few small game images and the
// cart simulator as the tool, so that Vellmore started there finds everything at once.
namespace demo {

// Where the application menu's demo lives: $XDG_DATA_HOME/vellmore/demo.
QString defaultFolder();

// Lays out in folder whatever of the demo is missing; what is there already is kept, so a
// folder laid out once keeps the user's own changes. The simulator is copied in as OB.exe
// when simulator names it. Returns what could not be written, empty when all is there.
QString layOut(const QString& folder, const QString& simulator = QString());

} // namespace demo
