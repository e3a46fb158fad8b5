#pragma once

#include "cart/ToolCommands.h"
#include "run/ProgramRunner.h"

#include <QString>
#include <QStringList>

namespace cart {

struct VerifyRequest {
    PortSettings port;
    int chipMbit = 0;
    QString multirom;
    bool headerRepaired = true; // the flash repaired the header's complement byte (its default)
    // The files the multirom was compiled from, when known: they name the piece a difference falls in.
    QString loader;
    QStringList games;
};

// Where the pieces a difference is named by came from.
enum class PieceSource { Files, Record, Scan };

struct VerifyOutcome {
    bool ran = false;      // the cart was read back; false: refused before the tool ran, or the read failed
    bool verified = false; // every byte of the multirom is on the cart
    qint64 matching = 0;   // bytes equal from the start
    bool repaired = false; // the complement byte was compared as the flash repaired it, not as the file holds it
    PieceSource source = PieceSource::Scan;
    QString message;
};

// Reads the cart back (a cart backup of the chip's size into a file of its own, removed afterwards)
// and compares it with what the flash was asked to write: the multirom, with its header's complement
// byte repaired where the flash repaired it. A difference is named by the piece it falls in: from the
// files given, else from the record the compile left beside the multirom, else from the headers found
// in the multirom, which the message then calls a guess.
VerifyOutcome verifyCart(const VerifyRequest& request, const run::ProgramRunner& run);

} // namespace cart
