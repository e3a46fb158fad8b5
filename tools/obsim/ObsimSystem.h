#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the simulator needs of the system it runs on, with every name in UTF-8.
namespace obsim {

// The arguments after the program.
std::vector<std::string> arguments(int argc, char* argv[]);

// An environment variable; nothing when it is not set.
std::optional<std::string> environment(const char* name);

std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8Path(const std::filesystem::path& path);

// The folder the simulator's own program file is in.
std::filesystem::path programFolder();

// Opens a file as fopen does, whatever letters its name holds.
std::FILE* openFile(const std::filesystem::path& path, const char* mode);

// Puts from in the place of to, in one step where the system allows; the system's reason when it fails.
std::optional<std::string> replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Text as this system's consoles show it.
std::string forConsole(const std::string& utf8);

int processId();

// The file being written, removed should the simulator be asked to end (TERM, INT, HUP, Ctrl+C,
// the console closed) before it is done; an empty path when nothing is being written.
void removeWhenStopped(const std::filesystem::path& path);

} // namespace obsim
