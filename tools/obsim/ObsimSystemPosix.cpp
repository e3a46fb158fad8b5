#include "ObsimSystem.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace obsim {

std::vector<std::string> arguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::filesystem::path pathFromUtf8(const std::string& text)
{
    return std::filesystem::path(text);
}

std::string utf8Path(const std::filesystem::path& path)
{
    return path.string();
}

std::filesystem::path programFolder()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : self.parent_path();
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

std::optional<std::string> replaceFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return std::string(std::strerror(errno));
    return std::nullopt;
}

std::string forConsole(const std::string& utf8)
{
    return utf8;
}

int processId()
{
    return int(::getpid());
}

namespace {

// The partial file's name, where a signal handler can reach it without allocating.
char partialFile[4096];

void removePartialAndEnd(int signal)
{
    if (partialFile[0] != '\0')
        ::unlink(partialFile);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void removeWhenStopped(const std::filesystem::path& path)
{
    static const bool installed = [] {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            std::signal(signal, removePartialAndEnd);
        return true;
    }();
    (void)installed;
    const std::string& name = path.native();
    if (name.size() >= sizeof partialFile) {
        partialFile[0] = '\0';
        return;
    }
    std::memcpy(partialFile, name.c_str(), name.size() + 1);
}

} // namespace obsim
