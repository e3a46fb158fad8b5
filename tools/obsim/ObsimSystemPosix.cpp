#include "ObsimSystem.h"

#include <cerrno>
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

} // namespace obsim
