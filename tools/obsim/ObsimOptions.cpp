#include "ObsimOptions.h"

namespace obsim {

std::optional<int> wholeNumber(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (const QChar c : digits) {
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    }
    return digits.toInt();
}

std::optional<Options> parseOptions(const QStringList& args, QString* problem)
{
    Options options;
    int i = 0;
    auto take = [&](const char* expected) {
        if (i < args.size() && args[i] == QLatin1String(expected)) {
            ++i;
            return true;
        }
        return false;
    };
    auto value = [&](const char* what, int low, int high) -> std::optional<int> {
        if (i >= args.size()) {
            *problem = QStringLiteral("missing %1").arg(QLatin1String(what));
            return std::nullopt;
        }
        const std::optional<int> number = wholeNumber(args[i]);
        if (!number || *number < low || *number > high) {
            *problem = QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                           .arg(QLatin1String(what))
                           .arg(low)
                           .arg(high)
                           .arg(args[i]);
            return std::nullopt;
        }
        ++i;
        return number;
    };

    options.repairHeader = !take("-n");
    options.epp = take("-2");
    if (!take("-w")) {
        *problem = QStringLiteral("expected -w");
        return std::nullopt;
    }
    const auto wait = value("wait step", 0, 999999999);
    if (!wait)
        return std::nullopt;
    options.waitStep = *wait;
    if (!take("-l")) {
        *problem = QStringLiteral("expected -l");
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
            *problem = QStringLiteral("chip size must be one of 8, 16, 32, 64, 128 or 256, not %1").arg(*mbit);
            return std::nullopt;
        }
        options.chipMbit = *mbit;
        if (!take("-s")) {
            *problem = QStringLiteral("expected -s after the chip size");
            return std::nullopt;
        }
    } else {
        *problem = QStringLiteral("expected one of -p, -b, -r or -c");
        return std::nullopt;
    }
    if (!options.repairHeader && options.operation != 'p') {
        *problem = QStringLiteral("-n goes only with -p");
        return std::nullopt;
    }
    if (i >= args.size() || args[i].isEmpty()) {
        *problem = QStringLiteral("missing file name");
        return std::nullopt;
    }
    options.file = args[i++];
    if (i != args.size()) {
        *problem = QStringLiteral("unexpected \"%1\"").arg(args[i]);
        return std::nullopt;
    }
    return options;
}

} // namespace obsim
