#pragma once

#include <QList>
#include <QString>

namespace cli {

// One thing doctor looked at: what is right, or what is wrong and what to do about it.
struct DoctorCheck {
    QString what; // as it is when right ("the ppdev module is loaded")
    bool ok = false;
    QString advice; // when wrong: what is wrong and what to do, whole ("the ppdev module is not loaded: ...")
};

// Whether the tool is a program this system can start. windowsProgram is set for a Windows or DOS
// program ("MZ"), which outside Windows runs through Wine.
QList<DoctorCheck> toolChecks(const QString& tool, bool* windowsProgram);

// Whether the LPT port (1 to 4) is there and usable for the tool.
QList<DoctorCheck> portChecks(int port, bool windowsProgram);

} // namespace cli
