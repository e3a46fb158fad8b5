#include "Doctor.h"

#include "platform/Platform.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace cli {

QList<DoctorCheck> toolChecks(const QString& tool, bool* windowsProgram)
{
    *windowsProgram = true;
    if (!QFileInfo(tool).isFile())
        return {{QStringLiteral("the tool is there"), false,
                 QStringLiteral("there is no tool at %1: give the path of OB.exe").arg(tool)}};
    const QString hint = platform::foreignProgramHint(tool);
    if (!hint.isEmpty())
        return {{QStringLiteral("the tool can start"), false, QStringLiteral("the tool %1: %2").arg(tool, hint)}};
    return {{QStringLiteral("the tool ") + tool + QStringLiteral(" is a program this system can start"), true, {}}};
}

QList<DoctorCheck> portChecks(int port, bool)
{
    // The ports the system found, as it lists them: "\Device\Parallel0" = "\DosDevices\LPT1".
    const QSettings listed(QStringLiteral("HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\PARALLEL PORTS"),
                           QSettings::NativeFormat);
    QStringList ports;
    for (const QString& key : listed.childKeys())
        ports.append(listed.value(key).toString().section(QLatin1Char('\\'), -1));
    const QString wanted = QStringLiteral("LPT%1").arg(port);
    const bool there = ports.contains(wanted, Qt::CaseInsensitive);
    return {{QStringLiteral("Windows lists %1").arg(wanted), there,
             there
                 ? QString()
                 : QStringLiteral("Windows lists %1; check the port and its driver in Device Manager")
                       .arg(ports.isEmpty() ? QStringLiteral("no parallel port") : ports.join(QStringLiteral(", ")))}};
}

} // namespace cli
