#pragma once

#include "multirom/MultiromLayout.h"

#include <QString>

#include <optional>

namespace multirom {

// The record of what a multirom was compiled from, kept beside it ("multi.gba.layout.json"), so that
// a later verify names the piece a difference falls in from the files themselves, not from a guess.
QString layoutRecordPath(const QString& multirom);

// Writes the record for the multirom as it now stands; the reason when it cannot be written.
std::optional<QString> writeLayoutRecord(const QString& multirom, const QList<MultiromPiece>& pieces);

// The pieces the record names, when there is a record and it was written for the multirom as it now
// stands (the same size and time of change); nothing otherwise.
std::optional<QList<MultiromPiece>> readLayoutRecord(const QString& multirom);

} // namespace multirom
