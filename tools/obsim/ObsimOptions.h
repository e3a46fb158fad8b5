#pragma once

#include <optional>
#include <string>
#include <vector>

// Plain C++ without Qt: the simulator runs alone, copied as OB.exe into any folder.
namespace obsim {

// One command line of the tool, checked value by value.
struct Options {
    bool repairHeader = true;
    bool epp = false;
    int waitStep = 0;
    int port = 1;
    char operation = 0; // 'p', 'b', 'r' or 'c'
    int bank = 0;
    int sizeCode = 0;
    int chipMbit = 0;
    std::string file; // UTF-8
};

// A whole number of digits only, blanks around it allowed; nothing for anything else.
std::optional<int> wholeNumber(const std::string& text);

// The arguments after the program (UTF-8) as one of the tool's four command lines; nothing, and
// the reason in problem, for anything else.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string* problem);

} // namespace obsim
