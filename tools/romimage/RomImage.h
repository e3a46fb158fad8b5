#pragma once

#include "multirom/HeaderBytes.h"

#include <QByteArray>
#include <QString>

namespace romimage {

constexpr int headerSize = multirom::gameHeaderSize;
using multirom::complementOffset;
using multirom::headerComplement;

// The complement check that belongs to the header of image (which must hold a header).
quint8 headerComplement(const QByteArray& image);

// Sets the complement check byte of image; images shorter than a header are left alone.
bool repairHeader(QByteArray& image);

// A made-up game image of size bytes with a plausible header and a recognisable body.
QByteArray makeGameImage(const QString& title, const QString& gameCode, int size);

} // namespace romimage
