#include "cart/CartVerify.h"

#include "cart/CartOperations.h"
#include "multirom/HeaderBytes.h"
#include "multirom/LayoutRecord.h"
#include "multirom/MultiromLayout.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>

namespace cart {

namespace {

QString bytes(qint64 count)
{
    return QLocale(QLocale::English).toString(count);
}

// Compares what the flash was asked to write with the start of the cart read back, a MiB at a time.
// The problem is empty unless a file could not be read or the read-back is short.
QString compare(const QString& multirom, const QString& readBack, VerifyOutcome& outcome)
{
    QFile expected(multirom);
    QFile actual(readBack);
    if (!expected.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + multirom + QStringLiteral(": ") + expected.errorString();
    if (!actual.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the cart read back: ") + actual.errorString();
    constexpr qint64 chunk = 1 << 20;
    QByteArray want(chunk, Qt::Uninitialized);
    QByteArray got(chunk, Qt::Uninitialized);
    for (;;) {
        const qint64 at = expected.pos();
        const qint64 wanted = expected.read(want.data(), chunk);
        if (wanted <= 0)
            break;
        if (at == 0 && outcome.repaired && wanted >= multirom::gameHeaderSize) {
            const char complement = char(multirom::headerComplement(want.constData()));
            outcome.repaired = want[multirom::complementOffset] != complement;
            want[multirom::complementOffset] = complement;
        } else if (at == 0) {
            outcome.repaired = false;
        }
        const qint64 gotten = actual.read(got.data(), wanted);
        const qint64 common = qMax<qint64>(0, qMin(wanted, gotten));
        // Equal chunks, the usual case, at the speed of memcmp; the place of a difference only where there is one.
        if (std::memcmp(want.constData(), got.constData(), size_t(common)) != 0) {
            outcome.matching +=
                std::mismatch(want.cbegin(), want.cbegin() + common, got.cbegin()).first - want.cbegin();
            return QString();
        }
        outcome.matching += common;
        if (gotten < wanted)
            return QStringLiteral("the cart read back holds only %1 bytes").arg(bytes(actual.size()));
    }
    outcome.verified = true;
    return QString();
}

// The pieces of the multirom from the files given; a refusal when they do not add up to it.
std::optional<QString> piecesOfFiles(const VerifyRequest& request, qint64 size, QList<multirom::MultiromPiece>* pieces)
{
    for (const QString& file : QStringList{request.loader} + request.games) {
        if (const auto problem = platform::inputFileProblem(file))
            return *problem;
    }
    *pieces = multirom::layoutOfFiles(request.loader, request.games);
    const qint64 total = pieces->last().offset + pieces->last().size;
    if (total != size)
        return QStringLiteral("the loader and games given add up to %1 bytes, but %2 holds %3: name the files it "
                              "was compiled from, in their order")
            .arg(bytes(total), request.multirom, bytes(size));
    return std::nullopt;
}

} // namespace

VerifyOutcome verifyCart(const VerifyRequest& request, const run::ProgramRunner& run)
{
    VerifyOutcome outcome;
    if (const auto problem = platform::inputFileProblem(request.multirom)) {
        outcome.message = *problem;
        return outcome;
    }
    const qint64 size = QFileInfo(request.multirom).size();
    if (size == 0) {
        outcome.message = QStringLiteral("the multirom is empty, so there is nothing to compare: ") + request.multirom;
        return outcome;
    }
    if (size > multirom::chipBytes(request.chipMbit)) {
        outcome.message = QStringLiteral("the multirom holds %1 bytes, more than a %2 Mbit chip")
                              .arg(bytes(size))
                              .arg(request.chipMbit);
        return outcome;
    }
    // Pieces from the files are checked before the cart is read: a wrong list is the user's to mend first.
    QList<multirom::MultiromPiece> pieces;
    if (!request.loader.isEmpty()) {
        if (const auto problem = piecesOfFiles(request, size, &pieces)) {
            outcome.message = *problem;
            return outcome;
        }
        outcome.source = PieceSource::Files;
    } else if (const auto recorded = multirom::readLayoutRecord(request.multirom)) {
        pieces = *recorded;
        outcome.source = PieceSource::Record;
    }

    const QTemporaryDir scratch;
    const QString readBack = scratch.filePath(QStringLiteral("cart.gba"));
    const ToolOutcome read = backupCart(request.port, request.chipMbit, readBack, run);
    if (!read.succeeded) {
        outcome.message = read.message;
        return outcome;
    }
    outcome.ran = true;
    outcome.repaired = request.headerRepaired;
    const QString problem = compare(request.multirom, readBack, outcome);
    if (outcome.verified) {
        outcome.message =
            QStringLiteral("verified: %1 bytes match%2")
                .arg(bytes(outcome.matching),
                     outcome.repaired ? QStringLiteral(" (the header's complement byte as the flash repaired it)")
                                      : QString());
    } else if (!problem.isEmpty()) {
        outcome.message = problem;
    } else {
        if (outcome.source == PieceSource::Scan)
            pieces = multirom::layoutOfMultirom(request.multirom);
        outcome.message = QStringLiteral("differs at %1: %2")
                              .arg(multirom::hexText(outcome.matching, 8), multirom::placeOf(pieces, outcome.matching));
        if (outcome.source == PieceSource::Scan)
            outcome.message += QStringLiteral(" (a guess from the headers found in the multirom: name the loader and "
                                              "the games for a sure answer)");
    }
    return outcome;
}

} // namespace cart
