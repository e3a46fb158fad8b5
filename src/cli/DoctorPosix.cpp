#include "Doctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

// Where /dev and /proc are read: the system's root, or for the tests a folder laid out like it.
QString systemPath(const QString& path)
{
    return qEnvironmentVariable("VELLMORE_SYSTEM_ROOT") + path;
}

bool startsWithMz(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

// Whether the kernel hands Windows programs to Wine: a binfmt entry, enabled, for the "MZ" magic.
bool binfmtRunsWindowsPrograms()
{
    const QDir binfmt(systemPath(QStringLiteral("/proc/sys/fs/binfmt_misc")));
    for (const QString& entry : binfmt.entryList(QDir::Files)) {
        QFile file(binfmt.filePath(entry));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = file.readAll();
        if (text.startsWith("enabled") && text.contains("magic 4d5a"))
            return true;
    }
    return false;
}

} // namespace

QList<DoctorCheck> toolChecks(const QString& tool, bool* windowsProgram)
{
    const QFileInfo file(tool);
    if (!file.isFile())
        return {{QStringLiteral("the tool ") + tool, false,
                 QStringLiteral("there is no such file: give the path of OB.exe")}};
    *windowsProgram = startsWithMz(tool);
    if (!*windowsProgram) {
        if (file.isExecutable())
            return {
                {QStringLiteral("the tool ") + tool + QStringLiteral(" is a program this system can start"), true, {}}};
        return {{QStringLiteral("the tool ") + tool, false,
                 QStringLiteral("it may not be run: make it executable (chmod +x \"%1\")").arg(tool)}};
    }
    const bool wine = !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty();
    const bool binfmt = binfmtRunsWindowsPrograms();
    return {{QStringLiteral("the tool is a Windows or DOS program, which runs through Wine"), wine,
             wine ? QString() : QStringLiteral("install Wine (apt-get install wine)")},
            {QStringLiteral("the system starts Windows programs through Wine (binfmt)"), binfmt,
             binfmt ? QString()
                    : QStringLiteral("install Wine's binfmt support (apt-get install wine-binfmt) and enable it "
                                     "(update-binfmts --import wine)")}};
}

QList<DoctorCheck> portChecks(int port, bool windowsProgram)
{
    QList<DoctorCheck> checks;
    const QString device = QStringLiteral("/dev/parport%1").arg(port - 1);
    const QString place = systemPath(device);
    if (!QFileInfo::exists(place)) {
        checks.append({QStringLiteral("LPT%1 is %2").arg(port).arg(device), false,
                       QStringLiteral("there is no %1: the computer has no such parallel port, or its driver is not "
                                      "loaded (sudo modprobe parport_pc)")
                           .arg(device)});
    } else if (::access(QFile::encodeName(place).constData(), R_OK | W_OK) != 0) {
        struct stat status = {};
        ::stat(QFile::encodeName(place).constData(), &status);
        const struct group* owner = ::getgrgid(status.st_gid);
        const QString group = owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
        checks.append({QStringLiteral("%1 may be read and written").arg(device), false,
                       QStringLiteral("it belongs to the group %1: join it (sudo usermod -aG %1 $USER) and log in "
                                      "again")
                           .arg(group)});
    } else {
        checks.append({QStringLiteral("%1 is there and may be read and written").arg(device), true, {}});
    }
    QFile modules(systemPath(QStringLiteral("/proc/modules")));
    bool loaded = false;
    if (modules.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : modules.readAll().split('\n'))
            loaded = loaded || line.startsWith("ppdev ");
    }
    checks.append({QStringLiteral("the ppdev module is loaded"), loaded,
                   loaded ? QString() : QStringLiteral("load it: sudo modprobe ppdev")});
    if (windowsProgram) {
        const QString prefix = qEnvironmentVariableIsSet("WINEPREFIX") ? qEnvironmentVariable("WINEPREFIX")
                                                                       : QDir::homePath() + QStringLiteral("/.wine");
        const QString link = QStringLiteral("%1/dosdevices/lpt%2").arg(prefix).arg(port);
        const bool there = QFileInfo(link).isSymLink();
        checks.append({QStringLiteral("Wine's lpt%1 leads to %2").arg(port).arg(device), there,
                       there ? QString() : QStringLiteral("make it: ln -s %1 \"%2\"").arg(device, link)});
    }
    return checks;
}

} // namespace cli
