#include "Doctor.h"

#include "platform/Platform.h"

#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <optional>
#include <vector>

#include <windows.h>

#include <cfgmgr32.h>
#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

namespace cli {

using platform::ProgramKind;

namespace {

// A DWORD from the 64-bit registry view as well as the 32-bit one (Vellmore is a 32-bit program).
std::optional<DWORD> registryNumber(const wchar_t* path, const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD)
        return std::nullopt;
    return value;
}

struct WindowsVersion {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
};

// The true version: RtlGetVersion answers what GetVersionEx may hide from a program.
WindowsVersion windowsVersion()
{
    RTL_OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    using RtlGetVersionCall = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

QString versionName(const WindowsVersion& version)
{
    if (version.major == 10)
        return version.build >= 22000 ? QStringLiteral("Windows 11") : QStringLiteral("Windows 10");
    if (version.major == 6) {
        switch (version.minor) {
        case 1:
            return QStringLiteral("Windows 7");
        case 2:
            return QStringLiteral("Windows 8");
        case 3:
            return QStringLiteral("Windows 8.1");
        default:
            break;
        }
    }
    return QStringLiteral("Windows %1.%2").arg(version.major).arg(version.minor);
}

// NTVDM, which runs DOS programs, is a file of 32-bit Windows' own system folder when it is there.
bool ntvdmIsThere()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH &&
           QFileInfo(QString::fromWCharArray(folder, int(length)) + QStringLiteral("\\ntvdm.exe")).isFile();
}

// The ports Windows found, as the registry's device map lists them: the value "\Device\Parallel0"
// holds "\DosDevices\LPT1". The names hold backslashes, so they are read with the registry's own calls.
QStringList listedPorts()
{
    QStringList ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        std::vector<wchar_t> name(256);
        std::vector<wchar_t> data(256);
        DWORD nameLength = DWORD(name.size());
        DWORD dataSize = DWORD(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString device =
            QString::fromWCharArray(data.data(), int(dataSize / sizeof(wchar_t))).section(QChar(u'\0'), 0, 0);
        ports.append(QStringLiteral("%1 (%2)").arg(device.section(QLatin1Char('\\'), -1),
                                                   QString::fromWCharArray(name.data(), int(nameLength))));
    }
    RegCloseKey(key);
    return ports;
}

// The I/O base address of each parallel port the configuration manager knows, by its name ("LPT1"):
// the first I/O range it gave the port.
QMap<QString, quint64> portAddresses()
{
    QMap<QString, quint64> addresses;
    const HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return addresses;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        wchar_t name[32] = {};
        DWORD size = sizeof name - sizeof(wchar_t);
        const bool named =
            RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!named)
            continue;
        LOG_CONF configuration = 0;
        if (CM_Get_First_Log_Conf(&configuration, device.DevInst, ALLOC_LOG_CONF) != CR_SUCCESS &&
            CM_Get_First_Log_Conf(&configuration, device.DevInst, BOOT_LOG_CONF) != CR_SUCCESS)
            continue;
        RES_DES range = 0;
        if (CM_Get_Next_Res_Des(&range, configuration, ResType_IO, nullptr, 0) == CR_SUCCESS) {
            IO_RESOURCE resource = {};
            if (CM_Get_Res_Des_Data(range, &resource, sizeof resource, 0) == CR_SUCCESS)
                addresses.insert(QString::fromWCharArray(name).toUpper(), resource.IO_Header.IOD_Alloc_Base);
            CM_Free_Res_Des_Handle(range);
        }
        CM_Free_Log_Conf_Handle(configuration);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return addresses;
}

// "at 0x378"; a port at an address other than the three of on-board ports sits on an add-in card.
QString addressWords(quint64 base)
{
    const bool onBoard = base == 0x378 || base == 0x278 || base == 0x3BC;
    return QStringLiteral(" at 0x%1%2")
        .arg(base, 0, 16)
        .arg(onBoard ? QString()
                     : QStringLiteral(" (a card's port: if the tool asks for the port's address, give it this one)"));
}

} // namespace

QList<DoctorCheck> systemChecks()
{
    const WindowsVersion version = windowsVersion();
    const bool is64 = platform::windowsIs64Bit();
    QList<DoctorCheck> checks{{QStringLiteral("this is %1 (version %2.%3, build %4), %5-bit; Vellmore runs as a 32-bit "
                                              "program%6")
                                   .arg(versionName(version))
                                   .arg(version.major)
                                   .arg(version.minor)
                                   .arg(version.build)
                                   .arg(is64 ? 64 : 32)
                                   .arg(is64 ? QStringLiteral(" (WOW64)") : QString()),
                               true,
                               {}}};
    if (!is64)
        return checks;
    // Port drivers (giveio, inpout-style, DLPortIO) are kernel drivers: 64-bit Windows refuses them when
    // Memory Integrity is on or when they are on the vulnerable-driver blocklist.
    const auto integrity = registryNumber(
        L"SYSTEM\\CurrentControlSet\\Control\\DeviceGuard\\Scenarios\\HypervisorEnforcedCodeIntegrity", L"Enabled");
    const bool integrityOn = integrity && *integrity != 0;
    checks.append({QStringLiteral("Memory Integrity is off"), !integrityOn,
                   QStringLiteral("Memory Integrity is on, and 64-bit Windows then refuses the port drivers that "
                                  "tools of this kind use (giveio, inpout, DLPortIO): a tool that needs one cannot "
                                  "reach the port here; turn it off in Windows Security (Core isolation) or use "
                                  "32-bit Windows")});
    const auto blocklist =
        registryNumber(L"SYSTEM\\CurrentControlSet\\Control\\CI\\Config", L"VulnerableDriverBlocklistEnable");
    const bool blocklistOn = blocklist ? *blocklist != 0 : version.build >= 22621;
    checks.append({QStringLiteral("the vulnerable-driver blocklist is off"), !blocklistOn,
                   QStringLiteral("the vulnerable-driver blocklist is on%1, and it refuses the well-known port "
                                  "drivers: a tool that needs one cannot reach the port here; use 32-bit Windows")
                       .arg(blocklist ? QString() : QStringLiteral(" (the default since Windows 11 22H2)"))});
    return checks;
}

QList<DoctorCheck> toolChecks(const QString& tool, ProgramKind* kind)
{
    *kind = platform::programKindAt(tool);
    const bool is64 = platform::windowsIs64Bit();
    switch (kind->kind) {
    case ProgramKind::Kind::WindowsProgram:
        if (kind->bits == 64 && !is64)
            return {{QStringLiteral("the tool can start"), false,
                     QStringLiteral("the tool %1 is %2, and this Windows is 32-bit: use the tool's 32-bit build")
                         .arg(tool, kind->describe())}};
        return {{QStringLiteral("the tool %1 is %2, which runs here; if it reaches the port through a driver of its "
                                "own, that driver must be installed%3")
                     .arg(tool, kind->describe(),
                          is64 ? QStringLiteral(" and allowed by 64-bit Windows (see above)") : QString()),
                 true,
                 {}}};
    case ProgramKind::Kind::DosProgram:
    case ProgramKind::Kind::Windows16Program:
        if (is64)
            return {{QStringLiteral("the tool can start"), false,
                     QStringLiteral("the tool %1 is %2, and 64-bit Windows cannot run those: use 32-bit Windows "
                                    "(with NTVDM) or DOS")
                         .arg(tool, kind->describe())}};
        if (!ntvdmIsThere())
            return {{QStringLiteral("the tool can start"), false,
                     QStringLiteral("the tool %1 is %2, and NTVDM, which runs those, is not installed: turn it on "
                                    "(Windows Features, Legacy Components, NTVDM)")
                         .arg(tool, kind->describe())}};
        return {{QStringLiteral("the tool %1 is %2, which this 32-bit Windows runs through NTVDM")
                     .arg(tool, kind->describe()),
                 true,
                 {}}};
    case ProgramKind::Kind::LinuxProgram:
    case ProgramKind::Kind::Script:
        return {{QStringLiteral("the tool can start"), false,
                 QStringLiteral("the tool %1 is %2, which Windows cannot run: give the path of the Windows OB.exe")
                     .arg(tool, kind->describe())}};
    case ProgramKind::Kind::Unknown:
        break;
    }
    return {{QStringLiteral("the tool is a program"), false,
             QStringLiteral("%1 is not a program: give the path of OB.exe").arg(tool)}};
}

QList<DoctorCheck> portChecks(int port, const ProgramKind&)
{
    const QStringList ports = listedPorts();
    const QString wanted = QStringLiteral("LPT%1").arg(port);
    QString found;
    for (const QString& listed : ports) {
        if (listed.startsWith(wanted + QLatin1Char(' '), Qt::CaseInsensitive))
            found = listed;
    }
    if (!found.isEmpty()) {
        const QMap<QString, quint64> addresses = portAddresses();
        const QString where = addresses.contains(wanted) ? addressWords(addresses.value(wanted)) : QString();
        return {{QStringLiteral("Windows lists %1%2").arg(found, where), true, {}}};
    }
    return {
        {QStringLiteral("Windows lists %1").arg(wanted), false,
         QStringLiteral("Windows lists %1, not %2: check the port in the BIOS (enabled, SPP/EPP/ECP) and in "
                        "Device Manager (Ports), or pick the LPT number it has there")
             .arg(ports.isEmpty() ? QStringLiteral("no parallel port") : ports.join(QStringLiteral(", ")), wanted)}};
}

} // namespace cli
