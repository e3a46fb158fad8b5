#include "CliContext.h"

#include "cart/CartOperations.h"
#include "multirom/HeaderBytes.h"
#include "multirom/MultiromLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <cstring>

namespace cli {

namespace {

struct Comparison {
    qint64 matching = 0;   // bytes equal from the start
    bool whole = false;    // every byte of the multirom matched
    QString problem;       // a file that could not be read, or a cart read back short
    bool repaired = false; // the header's complement byte was compared as the flash repaired it
};

// Compares what the flash was asked to write with the start of the cart read back, a MiB at a time:
// the multirom, its header's complement byte repaired where the flash repaired it.
Comparison compare(const QString& multirom, const QString& readBack, bool headerRepaired)
{
    Comparison result;
    QFile expected(multirom);
    QFile actual(readBack);
    if (!expected.open(QIODevice::ReadOnly))
        return {0, false, QStringLiteral("cannot read ") + multirom + QStringLiteral(": ") + expected.errorString()};
    if (!actual.open(QIODevice::ReadOnly))
        return {0, false, QStringLiteral("cannot read the cart read back: ") + actual.errorString()};
    constexpr qint64 chunk = 1 << 20;
    QByteArray want(chunk, Qt::Uninitialized);
    QByteArray got(chunk, Qt::Uninitialized);
    for (;;) {
        const qint64 at = expected.pos();
        const qint64 wanted = expected.read(want.data(), chunk);
        if (wanted <= 0)
            break;
        if (at == 0 && headerRepaired && wanted >= multirom::gameHeaderSize) {
            const char complement = char(multirom::headerComplement(want.constData()));
            result.repaired = want[multirom::complementOffset] != complement;
            want[multirom::complementOffset] = complement;
        }
        const qint64 gotten = actual.read(got.data(), wanted);
        const qint64 common = qMax<qint64>(0, qMin(wanted, gotten));
        // Equal chunks, the usual case, at the speed of memcmp; the place of a difference only where there is one.
        if (std::memcmp(want.constData(), got.constData(), size_t(common)) != 0) {
            result.matching += std::mismatch(want.cbegin(), want.cbegin() + common, got.cbegin()).first - want.cbegin();
            return result;
        }
        result.matching += common;
        if (gotten < wanted) {
            result.problem = QStringLiteral("the cart read back holds only %1 bytes").arg(actual.size());
            return result;
        }
    }
    result.whole = true;
    return result;
}

} // namespace

int verifyCommand(const QStringList& args)
{
    CliContext context(QStringLiteral("verify"), QStringLiteral("MULTIROM"),
                       QStringLiteral("Reads the cart back with a cart backup of the chip's size and compares it "
                                      "with the multirom."));
    context.addPortOptions();
    context.parser().addOption(
        {QStringLiteral("chip"), QStringLiteral("The chip: 8, 16, 32, 64, 128 or 256 Mbit."), QStringLiteral("MBIT")});
    context.parser().addOption({QStringLiteral("no-header-repair"),
                                QStringLiteral("The flash left the header as it is (flash --no-header-repair): "
                                               "compare it unrepaired.")});
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    if (context.parser().positionalArguments().size() != 1)
        return context.badArgument(QStringLiteral("name the multirom"));
    QString why;
    const std::optional<cart::PortSettings> port = context.portSettings(&why);
    if (!port)
        return context.badArgument(why);
    const auto chip = context.chip(true, &why);
    if (!chip)
        return context.badArgument(why);
    const QString multirom = context.parser().positionalArguments().first();
    if (!QFileInfo(multirom).isFile()) {
        context.problem(QStringLiteral("there is no multirom file at ") + multirom);
        return Failed;
    }
    const qint64 size = QFileInfo(multirom).size();
    if (size == 0) {
        context.problem(QStringLiteral("the multirom is empty, so there is nothing to compare: ") + multirom);
        return Failed;
    }
    const QLocale english(QLocale::English);
    if (size > multirom::chipBytes(*chip)) {
        context.problem(QStringLiteral("the multirom holds %1 bytes, more than a %2 Mbit chip")
                            .arg(english.toString(size))
                            .arg(*chip));
        return Failed;
    }

    // The read-back goes to a new file of its own, removed with the folder either way.
    QTemporaryDir scratch;
    ConsoleRunner console(context);
    const cart::ToolOutcome read =
        cart::backupCart(*port, *chip, scratch.filePath(QStringLiteral("cart.gba")), console.runner());
    if (!read.succeeded) {
        context.problem(read.message);
        context.print({{QStringLiteral("verified"), false}, {QStringLiteral("message"), read.message}});
        return console.stopped() ? console.stopCode() : Failed;
    }
    const Comparison result = compare(multirom, scratch.filePath(QStringLiteral("cart.gba")),
                                      !context.parser().isSet(QStringLiteral("no-header-repair")));
    QString message;
    if (result.whole) {
        message = QStringLiteral("verified: %1 bytes match%2")
                      .arg(english.toString(result.matching),
                           result.repaired ? QStringLiteral(" (the header's complement byte as the flash repaired it)")
                                           : QString());
        context.say(message);
    } else {
        message = !result.problem.isEmpty()
                      ? result.problem
                      : QStringLiteral("differs at %1: %2")
                            .arg(multirom::hexText(result.matching, 8),
                                 multirom::placeOf(multirom::layoutOfMultirom(multirom), result.matching));
        context.problem(message);
    }
    context.print({{QStringLiteral("verified"), result.whole},
                   {QStringLiteral("matching"), double(result.matching)},
                   {QStringLiteral("message"), message}});
    return result.whole ? Done : Failed;
}

} // namespace cli
