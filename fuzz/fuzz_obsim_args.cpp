// The simulator's argument parser with arbitrary arguments: it accepts only the four command
// lines, with every value in its range, and says why it refuses anything else.
#include "ObsimOptions.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList args;
    for (const QByteArray& arg : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0'))
        args.append(QString::fromUtf8(arg));
    QString problem;
    const std::optional<obsim::Options> options = obsim::parseOptions(args, &problem);
    if (!options) {
        if (problem.isEmpty())
            std::abort();
        return 0;
    }
    const obsim::Options& o = *options;
    const bool valid =
        o.port >= 1 && o.port <= 4 && o.waitStep >= 0 && !o.file.isEmpty() &&
        QByteArray("pbrc").contains(o.operation) && (o.repairHeader || o.operation == 'p') &&
        (o.operation != 'b' || (o.bank >= 1 && o.bank <= 4 && o.sizeCode >= 1 && o.sizeCode <= 4)) &&
        (o.operation != 'r' || (o.bank >= 1 && o.bank <= 4)) &&
        (o.operation != 'c' || (o.chipMbit >= 8 && o.chipMbit <= 256 && (o.chipMbit & (o.chipMbit - 1)) == 0));
    if (!valid)
        std::abort();
    return 0;
}
