// The system's answers on Windows.
#include "platform/Platform.h"

#include "platform/FileSystem.h"
#include "platform/ProgramKind.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>
#include <string>
#include <utility>

#include <windows.h>

#include <tlhelp32.h>

#include <io.h>

namespace platform {

QChar separator()
{
    return QLatin1Char('\\');
}

QString primaryRoot()
{
    return QStringLiteral("C:\\");
}

QStringList tidiedOutputRoots()
{
    return {QStringLiteral("C:\\"), QStringLiteral("D:\\")};
}

QString formFaceFamily()
{
    return QStringLiteral("Microsoft Sans Serif");
}

bool fileNamesAreCaseSensitive()
{
    return false;
}

bool fileNamesKeepOuterBlanks()
{
    return false;
}

bool interpretsBatchFilesItself()
{
    return false;
}

namespace {

// Text in one code page, nothing when it has a letter the page lacks (no "best fit" stand-ins).
BatchEncoder codePageEncoder(UINT codePage)
{
    return [codePage](const QString& text) -> std::optional<QByteArray> {
        if (text.isEmpty())
            return QByteArray();
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        const int length = int(text.size());
        BOOL lacking = FALSE;
        const int size =
            WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &lacking);
        if (size <= 0 || lacking)
            return std::nullopt;
        QByteArray bytes(size, '\0');
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr, &lacking);
        if (lacking)
            return std::nullopt;
        return bytes;
    };
}

} // namespace

BatchEncoder batchFileEncoder()
{
    return codePageEncoder(CP_OEMCP);
}

BatchEncoder toolArgumentEncoder()
{
    return codePageEncoder(CP_ACP);
}

bool windowsIs64Bit()
{
#ifdef _WIN64
    return true;
#else
    // A 32-bit Vellmore on 64-bit Windows runs under WOW64. IsWow64Process2 (Windows 10) also knows an
    // ARM64 Windows; Windows 7 has only IsWow64Process, which answers the same for an x64 one.
    using IsWow64Process2Call = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (const auto isWow64Process2 =
            reinterpret_cast<IsWow64Process2Call>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process2")))) {
        USHORT process = 0;
        USHORT native = 0;
        if (isWow64Process2(GetCurrentProcess(), &process, &native))
            return native != IMAGE_FILE_MACHINE_I386;
    }
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

QString dosProgramHint()
{
    if (windowsIs64Bit())
        return QStringLiteral("it is a DOS or 16-bit program, and 64-bit Windows cannot run those");
    return QStringLiteral("it is a DOS or 16-bit program, and this Windows did not run it: 32-bit Windows runs those "
                          "through NTVDM (Windows Features, Legacy Components)");
}

QString foreignProgramHint(const QString& path)
{
    const ProgramKind program = programKindAt(path);
    switch (program.kind) {
    case ProgramKind::Kind::DosProgram:
    case ProgramKind::Kind::Windows16Program:
        return dosProgramHint();
    case ProgramKind::Kind::WindowsProgram:
        if (program.bits == 64 && !windowsIs64Bit())
            return QStringLiteral("it is a 64-bit Windows program, and this Windows is 32-bit: use the tool's 32-bit "
                                  "build");
        return QString();
    case ProgramKind::Kind::LinuxProgram:
        return QStringLiteral("it is a Linux program, which Windows cannot run");
    case ProgramKind::Kind::Script:
    case ProgramKind::Kind::Unknown:
        break;
    }
    return QString();
}

QString decodeConsoleOutput(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QString();
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0)
        codePage = GetOEMCP(); // Vellmore has no console of its own: the one its tools would get
    const int length = MultiByteToWideChar(codePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(codePage, 0, bytes.constData(), int(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        length);
    return text;
}

QString windowsErrorText(unsigned long code, const QString& path)
{
    wchar_t* buffer = nullptr;
    // Without IGNORE_INSERTS a text that holds "%1" (error 193, for one) cannot be had at all.
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length > 0 ? QString::fromWCharArray(buffer, int(length)).trimmed()
                              : QStringLiteral("system error %1").arg(code);
    if (buffer)
        LocalFree(buffer);
    text.replace(QLatin1String("%1"), QDir::toNativeSeparators(path));
    return text;
}

bool nameSurvivesDecoding(const char*, size_t)
{
    return true; // the system hands out names as text
}

void ignoreWriteSignals() {}

namespace {

std::wstring settingsKey(const QString& organization)
{
    return (QStringLiteral("Software\\") + organization).toStdWString();
}

} // namespace

bool userSettingsExist(const QString& organization)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKey(organization).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void removeUserSettings(const QString& organization)
{
    if (QSettings(QSettings::UserScope, organization).allKeys().isEmpty())
        RegDeleteTreeW(HKEY_CURRENT_USER, settingsKey(organization).c_str());
}

QString shortPathName(const QString& path)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(path.utf16());
    const DWORD size = GetShortPathNameW(wide, nullptr, 0);
    if (size == 0)
        return QString();
    std::wstring shortPath(size, L'\0');
    const DWORD written = GetShortPathNameW(wide, shortPath.data(), size);
    if (written == 0 || written >= size)
        return QString();
    shortPath.resize(written);
    return QString::fromStdWString(shortPath);
}

bool writeText(std::FILE* stream, const QString& text)
{
    std::fflush(stream);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        return WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written,
                             nullptr) &&
               written == DWORD(text.size());
    }
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

QStringList expandWildcards(const QStringList& arguments)
{
    QStringList expanded;
    for (const QString& argument : arguments) {
        const QString name = QDir::fromNativeSeparators(argument);
        const QString pattern = name.section(QLatin1Char('/'), -1);
        const bool wildcard = pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
        if (argument.startsWith(QLatin1Char('-')) || !wildcard) {
            expanded.append(argument);
            continue;
        }
        const QString folder =
            name.contains(QLatin1Char('/')) ? name.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') : QString();
        const QStringList matches =
            QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                .entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        if (matches.isEmpty()) {
            expanded.append(argument);
            continue;
        }
        for (const QString& match : matches)
            expanded.append(QDir::toNativeSeparators(folder + match));
    }
    return expanded;
}

QStringList missingLibraries(const QString& path)
{
    const QStringList imports = importedLibraries(readOrdinaryFileHead(path, 64 << 20));
    if (imports.isEmpty())
        return {};
    wchar_t system[MAX_PATH] = {};
    wchar_t windows[MAX_PATH] = {};
    QStringList folders{
        QFileInfo(path).absolutePath(), QString::fromWCharArray(system, int(GetSystemDirectoryW(system, MAX_PATH))),
        QString::fromWCharArray(windows, int(GetWindowsDirectoryW(windows, MAX_PATH))), QDir::currentPath()};
    folders += qEnvironmentVariable("PATH").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList missing;
    for (const QString& library : imports) {
        // Names of the API sets ("api-ms-win-core-...") are resolved by the loader, not looked up as files.
        if (library.startsWith(QLatin1String("api-ms-"), Qt::CaseInsensitive) ||
            library.startsWith(QLatin1String("ext-ms-"), Qt::CaseInsensitive))
            continue;
        const bool found = std::any_of(folders.cbegin(), folders.cend(), [&](const QString& folder) {
            return QFileInfo(QDir(folder).filePath(library)).isFile();
        });
        if (!found)
            missing.append(library);
    }
    return missing;
}

namespace {

// When a process was created, in the system's 100 ns units; 0 when it cannot be asked (it has ended).
quint64 creationTime(DWORD processId)
{
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!handle)
        return 0;
    FILETIME created = {};
    FILETIME exited = {};
    FILETIME kernel = {};
    FILETIME user = {};
    const bool asked = GetProcessTimes(handle, &created, &exited, &kernel, &user);
    CloseHandle(handle);
    return asked ? (quint64(created.dwHighDateTime) << 32) | created.dwLowDateTime : 0;
}

} // namespace

ProcessTreeRoot processTreeRoot(unsigned long processId)
{
    return {processId, creationTime(processId)};
}

std::vector<unsigned long> runningProcessTree(const ProcessTreeRoot& root)
{
    std::vector<std::pair<DWORD, DWORD>> running; // each process and its parent
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return {};
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        running.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
    CloseHandle(snapshot);
    std::vector<std::pair<DWORD, quint64>> tree{{root.id, root.created}}; // the root, running or not
    for (size_t next = 0; next < tree.size(); ++next) {
        for (const auto& [id, parent] : running) {
            if (parent != tree[next].first || id == root.id)
                continue;
            const quint64 created = creationTime(id);
            if (created >= tree[next].second)
                tree.emplace_back(id, created);
        }
    }
    std::vector<unsigned long> alive;
    for (const auto& member : tree) {
        if (std::any_of(running.cbegin(), running.cend(), [&](const auto& p) { return p.first == member.first; }))
            alive.push_back(member.first);
    }
    return alive;
}

void endProcessTree(const ProcessTreeRoot& root)
{
    for (int round = 0; round < 3; ++round) {
        for (const unsigned long member : runningProcessTree(root)) {
            if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, member)) {
                TerminateProcess(handle, 1);
                CloseHandle(handle);
            }
        }
    }
}

bool isStandardStream(const QString& path)
{
    const HANDLE named = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION namedInfo{};
    const bool known = GetFileInformationByHandle(named, &namedInfo);
    CloseHandle(named);
    // A console has no file information: only files and pipes compare.
    for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        BY_HANDLE_FILE_INFORMATION open{};
        if (known && GetFileInformationByHandle(GetStdHandle(stream), &open) &&
            open.dwVolumeSerialNumber == namedInfo.dwVolumeSerialNumber &&
            open.nFileIndexHigh == namedInfo.nFileIndexHigh && open.nFileIndexLow == namedInfo.nFileIndexLow)
            return true;
    }
    return false;
}

} // namespace platform
