// The simulator's argument parser with arbitrary arguments: it accepts only the four command
// lines, with every value in its range, and says why it refuses anything else.
#include "ObsimOptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(char(data[i]));
    }
    std::string problem;
    const std::optional<obsim::Options> options = obsim::parseOptions(args, &problem);
    if (!options) {
        if (problem.empty())
            std::abort();
        return 0;
    }
    const obsim::Options& o = *options;
    const bool valid =
        o.port >= 1 && o.port <= 4 && o.waitStep >= 0 && !o.file.empty() && o.operation != 0 &&
        std::strchr("pbrc", o.operation) != nullptr && (o.repairHeader || o.operation == 'p') &&
        (o.operation != 'b' || (o.bank >= 1 && o.bank <= 4 && o.sizeCode >= 1 && o.sizeCode <= 4)) &&
        (o.operation != 'r' || (o.bank >= 1 && o.bank <= 4)) &&
        (o.operation != 'c' || (o.chipMbit >= 8 && o.chipMbit <= 256 && (o.chipMbit & (o.chipMbit - 1)) == 0));
    if (!valid)
        std::abort();
    return 0;
}
