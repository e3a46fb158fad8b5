#include "ObsimOptions.h"

namespace obsim {

std::optional<int> wholeNumber(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const std::string digits = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    if (digits.size() > 9)
        return std::nullopt;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string* problem)
{
    Options options;
    size_t i = 0;
    auto take = [&](const char* expected) {
        if (i < args.size() && args[i] == expected) {
            ++i;
            return true;
        }
        return false;
    };
    auto value = [&](const char* what, int low, int high) -> std::optional<int> {
        if (i >= args.size()) {
            *problem = std::string("missing ") + what;
            return std::nullopt;
        }
        const std::optional<int> number = wholeNumber(args[i]);
        if (!number || *number < low || *number > high) {
            *problem = std::string(what) + " must be a number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", not \"" + args[i] + "\"";
            return std::nullopt;
        }
        ++i;
        return number;
    };

    options.repairHeader = !take("-n");
    options.epp = take("-2");
    if (!take("-w")) {
        *problem = "expected -w";
        return std::nullopt;
    }
    const auto wait = value("wait step", 0, 999999999);
    if (!wait)
        return std::nullopt;
    options.waitStep = *wait;
    if (!take("-l")) {
        *problem = "expected -l";
        return std::nullopt;
    }
    const auto port = value("port", 1, 4);
    if (!port)
        return std::nullopt;
    options.port = *port;

    if (take("-p")) {
        options.operation = 'p';
    } else if (take("-b")) {
        options.operation = 'b';
        const auto bank = value("bank", 1, 4);
        const auto size = bank ? value("size code", 1, 4) : std::nullopt;
        if (!size)
            return std::nullopt;
        options.bank = *bank;
        options.sizeCode = *size;
    } else if (take("-r")) {
        options.operation = 'r';
        const auto bank = value("bank", 1, 4);
        if (!bank)
            return std::nullopt;
        options.bank = *bank;
    } else if (take("-c")) {
        options.operation = 'c';
        const auto mbit = value("chip size", 8, 256);
        if (!mbit)
            return std::nullopt;
        if ((*mbit & (*mbit - 1)) != 0) {
            *problem = "chip size must be one of 8, 16, 32, 64, 128 or 256, not " + std::to_string(*mbit);
            return std::nullopt;
        }
        options.chipMbit = *mbit;
        if (!take("-s")) {
            *problem = "expected -s after the chip size";
            return std::nullopt;
        }
    } else {
        *problem = "expected one of -p, -b, -r or -c";
        return std::nullopt;
    }
    if (!options.repairHeader && options.operation != 'p') {
        *problem = "-n goes only with -p";
        return std::nullopt;
    }
    if (i >= args.size() || args[i].empty()) {
        *problem = "missing file name";
        return std::nullopt;
    }
    options.file = args[i++];
    if (i != args.size()) {
        *problem = "unexpected \"" + args[i] + "\"";
        return std::nullopt;
    }
    return options;
}

} // namespace obsim
