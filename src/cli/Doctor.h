#pragma once

#include "platform/ProgramKind.h"

#include <QList>
#include <QString>

namespace cli {

// One thing doctor looked at: what is right, or what is wrong and what to do about it.
struct DoctorCheck {
    QString what; // as it is when right ("parport0 is LPT1, at 0x378, with EPP")
    bool ok = false;
    QString advice; // when wrong: what is wrong and what to do, whole, in one sentence
};

// The system itself: which one, and what it means for a tool that reaches the port.
QList<DoctorCheck> systemChecks();

// What kind of program the tool (an ordinary file) is, and whether it can start and drive a cart on
// this system. kind tells the port checks what the tool is.
QList<DoctorCheck> toolChecks(const QString& tool, platform::ProgramKind* kind);

// Whether the LPT port (1 to 4) is there and usable for a tool of that kind.
QList<DoctorCheck> portChecks(int port, const platform::ProgramKind& kind);

} // namespace cli
