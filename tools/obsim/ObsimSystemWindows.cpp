#include "ObsimSystem.h"

#include <windows.h>

#include <process.h>
#include <shellapi.h>

namespace obsim {

namespace {

std::wstring wide(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), length);
    return text;
}

std::string inCodePage(const std::wstring& text, UINT codePage)
{
    const int length = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::string systemText(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = text ? text : L"error";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return inCodePage(reason, CP_UTF8);
}

} // namespace

std::vector<std::string> arguments(int, char*[])
{
    // The narrow arguments lose every letter the ANSI code page lacks.
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i)
        result.push_back(inCodePage(args[i], CP_UTF8));
    LocalFree(args);
    return result;
}

std::optional<std::string> environment(const char* name)
{
    const std::wstring wideName = wide(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), value.data(), size));
    return inCodePage(value, CP_UTF8);
}

std::filesystem::path pathFromUtf8(const std::string& text)
{
    return std::filesystem::path(wide(text));
}

std::string utf8Path(const std::filesystem::path& path)
{
    return inCodePage(path.wstring(), CP_UTF8);
}

std::filesystem::path programFolder()
{
    std::wstring name(32768, L'\0');
    name.resize(GetModuleFileNameW(nullptr, name.data(), DWORD(name.size())));
    return std::filesystem::path(name).parent_path();
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode)
{
    return _wfopen(path.c_str(), wide(mode).c_str());
}

std::optional<std::string> replaceFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
        return systemText(GetLastError());
    return std::nullopt;
}

std::string forConsole(const std::string& utf8)
{
    UINT codePage = GetConsoleOutputCP();
    return inCodePage(wide(utf8), codePage != 0 ? codePage : GetOEMCP());
}

int processId()
{
    return _getpid();
}

namespace {

std::wstring partialFile;

// Ctrl+C, Ctrl+Break and the console closed: the partial file goes before Windows ends the simulator.
BOOL WINAPI removePartial(DWORD)
{
    if (!partialFile.empty())
        DeleteFileW(partialFile.c_str());
    return FALSE; // and then the usual end
}

} // namespace

void removeWhenStopped(const std::filesystem::path& path)
{
    static const bool installed = SetConsoleCtrlHandler(removePartial, TRUE) != 0;
    (void)installed;
    partialFile = path.native();
}

} // namespace obsim
