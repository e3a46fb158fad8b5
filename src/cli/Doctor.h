#pragma once

#include <QList>
#include <QString>

namespace cli {

// One thing doctor looked at: whether it is right, and if not, what to do.
struct DoctorCheck {
    QString what;
    bool ok = false;
    QString advice; // empty when ok
};

// Whether the tool is a program this system can start. windowsProgram is set for a Windows or DOS
// program ("MZ"), which outside Windows runs through Wine.
QList<DoctorCheck> toolChecks(const QString& tool, bool* windowsProgram);

// Whether the LPT port (1 to 4) is there and usable for the tool.
QList<DoctorCheck> portChecks(int port, bool windowsProgram);

} // namespace cli
