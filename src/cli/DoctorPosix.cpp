#include "Doctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

using platform::ProgramKind;

namespace {

// Where /dev, /proc and /sys are read: the system's root, or for the tests a folder laid out like it.
QString systemPath(const QString& path)
{
    return qEnvironmentVariable("VELLMORE_SYSTEM_ROOT") + path;
}

QByteArray systemFile(const QString& path)
{
    QFile file(systemPath(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
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

// Debian's 32-bit Wine (wine32:i386) puts its loader here; without it a 32-bit program cannot start.
bool wineRuns32BitPrograms()
{
    return QFileInfo::exists(systemPath(QStringLiteral("/usr/lib/wine/wine"))) ||
           QFileInfo::exists(systemPath(QStringLiteral("/usr/lib/i386-linux-gnu/wine")));
}

const QString noPortThroughWine = QStringLiteral(
    "Wine runs it on Linux but cannot give it the parallel port, so it cannot drive a real cart here (Linux "
    "still builds multiroms, runs the simulator and keeps save files): drive the cart from 32-bit Windows, or "
    "with a tool built for Linux");

QList<DoctorCheck> windowsToolChecks(const QString& tool, const ProgramKind& kind)
{
    if (kind.needsDosMachine())
        return {{QStringLiteral("the tool drives the cart"), false,
                 QStringLiteral("the tool %1 is %2: on Linux Wine hands it to DOSBox, which cannot reach a real "
                                "parallel port: drive the cart from DOS or from 32-bit Windows, where it runs "
                                "through NTVDM")
                     .arg(tool, kind.describe())}};
    QList<DoctorCheck> checks{{QStringLiteral("the tool drives the cart"), false,
                               QStringLiteral("the tool %1 is %2: %3").arg(tool, kind.describe(), noPortThroughWine)}};
    const bool wine = !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty();
    if (!wine) {
        checks.append({QStringLiteral("Wine is installed"), false,
                       QStringLiteral("Wine is not installed, so the tool cannot even start: install it (apt-get "
                                      "install wine)")});
    } else if (kind.bits == 32 && !wineRuns32BitPrograms()) {
        checks.append({QStringLiteral("Wine runs 32-bit programs"), false,
                       QStringLiteral("Wine has no 32-bit part, so this 32-bit tool cannot start: install it (dpkg "
                                      "--add-architecture i386 && apt-get update && apt-get install wine32:i386)")});
    }
    const bool binfmt = binfmtRunsWindowsPrograms();
    checks.append({QStringLiteral("the system starts Windows programs through Wine (binfmt)"), binfmt,
                   binfmt ? QString()
                          : QStringLiteral("the system does not start Windows programs through Wine: install its "
                                           "binfmt support (apt-get install wine-binfmt) and enable it "
                                           "(update-binfmts --import wine)")});
    return checks;
}

DoctorCheck mayBeRun(const QString& tool)
{
    const bool runnable = QFileInfo(tool).isExecutable();
    return {QStringLiteral("the tool may be run"), runnable,
            runnable ? QString()
                     : QStringLiteral("the tool %1 may not be run: make it executable (chmod +x \"%1\")").arg(tool)};
}

DoctorCheck scriptCheck(const QString& tool, const ProgramKind& kind)
{
    if (kind.crlf)
        return {QStringLiteral("the script's first line is whole"), false,
                QStringLiteral("the first line of %1 ends in CR LF, so the system looks for an interpreter whose "
                               "name ends in a CR: save it with Linux line ends (dos2unix \"%1\")")
                    .arg(tool)};
    QString interpreter = kind.interpreter;
    if (QFileInfo(interpreter).fileName() == QLatin1String("env") && !kind.interpreterArgument.isEmpty()) {
        interpreter = QStandardPaths::findExecutable(kind.interpreterArgument);
        if (interpreter.isEmpty())
            return {QStringLiteral("the script's interpreter is there"), false,
                    QStringLiteral("%1 is %2, and there is no %3 on the PATH: install it or correct the first line")
                        .arg(tool, kind.describe(), kind.interpreterArgument)};
    }
    const bool there = QFileInfo(interpreter).isFile() && QFileInfo(interpreter).isExecutable();
    return {QStringLiteral("the tool is %1, which is there").arg(kind.describe()), there,
            there ? QString()
                  : QStringLiteral("%1 is %2, and there is no program %3: install it or correct the first line")
                        .arg(tool, kind.describe(), interpreter)};
}

} // namespace

QList<DoctorCheck> systemChecks()
{
    return {};
}

QList<DoctorCheck> toolChecks(const QString& tool, ProgramKind* kind)
{
    *kind = platform::programKindAt(tool);
    switch (kind->kind) {
    case ProgramKind::Kind::WindowsProgram:
    case ProgramKind::Kind::DosProgram:
    case ProgramKind::Kind::Windows16Program: {
        QList<DoctorCheck> checks = windowsToolChecks(tool, *kind);
        checks.append(mayBeRun(tool));
        return checks;
    }
    case ProgramKind::Kind::Script:
        return {scriptCheck(tool, *kind), mayBeRun(tool)};
    case ProgramKind::Kind::LinuxProgram:
        if (!kind->thisMachine && kind->machine != QLatin1String("x86"))
            return {{QStringLiteral("the tool is a program for this computer"), false,
                     QStringLiteral("the tool %1 is %2, which this computer cannot run: get the tool built for "
                                    "this computer")
                         .arg(tool, kind->describe())}};
        return {{QStringLiteral("the tool %1 is %2, which drives the port through /dev/parport")
                     .arg(tool, kind->describe()),
                 true,
                 {}},
                mayBeRun(tool)};
    case ProgramKind::Kind::Unknown:
        break;
    }
    return {{QStringLiteral("the tool is a program"), false,
             QStringLiteral("%1 is not a program: neither a Linux program, a script that starts with #!, nor a "
                            "Windows program; give the path of OB.exe")
                 .arg(tool)}};
}

QList<DoctorCheck> portChecks(int port, const ProgramKind&)
{
    QList<DoctorCheck> checks;
    const QString name = QStringLiteral("parport%1").arg(port - 1);
    const QString device = QStringLiteral("/dev/") + name;
    const QString known = QStringLiteral("/proc/sys/dev/parport/") + name;
    const bool modules = QFileInfo::exists(systemPath(QStringLiteral("/proc/modules")));
    if (!QFileInfo::exists(systemPath(known))) {
        checks.append({QStringLiteral("the kernel knows LPT%1 as %2").arg(port).arg(name), false,
                       QStringLiteral("the kernel knows no %1 (LPT%2): the computer has no such parallel port%3")
                           .arg(name)
                           .arg(port)
                           .arg(modules ? QStringLiteral(", or its driver is not loaded (sudo modprobe parport_pc)")
                                        : QString())});
        return checks;
    }
    // The base address is written in decimal ("888\t1912"): the port's registers, then its ECP ones.
    bool read = false;
    const uint base = systemFile(known + QStringLiteral("/base-addr")).split('\t').value(0).trimmed().toUInt(&read);
    const QByteArray modes = systemFile(known + QStringLiteral("/modes"));
    const QString where = read ? QStringLiteral(" at 0x%1").arg(base, 0, 16) : QString();
    checks.append({QStringLiteral("LPT%1 is %2%3 (modes %4)")
                       .arg(port)
                       .arg(name, where, modes.isEmpty() ? QStringLiteral("unknown") : QString::fromLatin1(modes)),
                   true,
                   {}});
    if (!modes.isEmpty() && !modes.split(',').contains("EPP"))
        checks.append({QStringLiteral("%1 has EPP").arg(name), false,
                       QStringLiteral("%1 has no EPP mode: set the port to EPP (or ECP+EPP) in the BIOS, or untick "
                                      "\"Use EPP\" (vellmore-cli --no-epp)")
                           .arg(name)});
    const QByteArray active = systemFile(known + QStringLiteral("/devices/active"));
    if (active == "lp")
        checks.append({QStringLiteral("no printer driver holds %1").arg(name), false,
                       QStringLiteral("the printer driver lp holds %1: unload it while the tool runs (sudo modprobe "
                                      "-r lp)")
                           .arg(name)});
    const QString place = systemPath(device);
    if (!QFileInfo::exists(place)) {
        checks.append({QStringLiteral("%1 is there").arg(device), false,
                       modules ? QStringLiteral("there is no %1, which the ppdev driver makes: load it (sudo modprobe "
                                                "ppdev)")
                                     .arg(device)
                               : QStringLiteral("there is no %1, which the ppdev driver makes").arg(device)});
    } else if (::access(QFile::encodeName(place).constData(), R_OK | W_OK) != 0) {
        struct stat status = {};
        ::stat(QFile::encodeName(place).constData(), &status);
        const struct group* owner = ::getgrgid(status.st_gid);
        const QString group = owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
        const bool groupMayUse = status.st_gid != 0 && (status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
        checks.append({QStringLiteral("%1 may be read and written").arg(device), false,
                       groupMayUse ? QStringLiteral("%1 may not be read and written by you: it belongs to the group "
                                                    "%2; join it (sudo usermod -aG %2 $USER) and log in again")
                                         .arg(device, group)
                                   : QStringLiteral("%1 may be read and written by its owner alone: ask the "
                                                    "administrator for a udev rule that gives a group of yours "
                                                    "access")
                                         .arg(device)});
    } else {
        checks.append({QStringLiteral("%1 is there and may be read and written").arg(device), true, {}});
    }
    return checks;
}

} // namespace cli
