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
        return {{QStringLiteral("the tool is there"), false,
                 QStringLiteral("there is no tool at %1: give the path of OB.exe").arg(tool)}};
    *windowsProgram = startsWithMz(tool);
    if (!*windowsProgram) {
        if (file.isExecutable())
            return {
                {QStringLiteral("the tool ") + tool + QStringLiteral(" is a program this system can start"), true, {}}};
        return {{QStringLiteral("the tool may be run"), false,
                 QStringLiteral("the tool %1 may not be run: make it executable (chmod +x \"%1\")").arg(tool)}};
    }
    const bool wine = !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty();
    const bool binfmt = binfmtRunsWindowsPrograms();
    return {{QStringLiteral("the tool is a Windows or DOS program, which runs through Wine"), wine,
             wine ? QString()
                  : QStringLiteral("the tool is a Windows or DOS program, and Wine is not installed: install it "
                                   "(apt-get install wine)")},
            {QStringLiteral("the system starts Windows programs through Wine (binfmt)"), binfmt,
             binfmt ? QString()
                    : QStringLiteral("the system does not start Windows programs through Wine: install its binfmt "
                                     "support (apt-get install wine-binfmt) and enable it (update-binfmts --import "
                                     "wine)")}};
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
                       QStringLiteral("%1 may not be read and written by you: it belongs to the group %2; join it "
                                      "(sudo usermod -aG %2 $USER) and log in again")
                           .arg(device, group)});
    } else {
        checks.append({QStringLiteral("%1 is there and may be read and written").arg(device), true, {}});
    }
    QFile modules(systemPath(QStringLiteral("/proc/modules")));
    bool loaded = false;
    if (modules.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : modules.readAll().split('\n'))
            loaded = loaded || line.startsWith("ppdev ");
    }
    checks.append(
        {QStringLiteral("the ppdev module is loaded"), loaded,
         loaded ? QString() : QStringLiteral("the ppdev module is not loaded: load it (sudo modprobe ppdev)")});
    if (windowsProgram) {
        const QString prefix = qEnvironmentVariableIsSet("WINEPREFIX") ? qEnvironmentVariable("WINEPREFIX")
                                                                       : QDir::homePath() + QStringLiteral("/.wine");
        const QString link = QStringLiteral("%1/dosdevices/lpt%2").arg(prefix).arg(port);
        const bool there = QFileInfo(link).isSymLink();
        checks.append({QStringLiteral("Wine's lpt%1 leads to %2").arg(port).arg(device), there,
                       there ? QString()
                             : QStringLiteral("Wine has no lpt%1 that leads to %2: make it (ln -s %2 \"%3\")")
                                   .arg(port)
                                   .arg(device, link)});
    }
    return checks;
}

} // namespace cli
