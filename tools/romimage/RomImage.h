#pragma once

#include <QByteArray>
#include <QString>

// The header of a Game Boy Advance image: title at 0xA0, game code at 0xAC, maker
// code at 0xB0, and at 0xBD the complement check over bytes 0xA0 to 0xBC.
namespace romimage {

constexpr int headerSize = 0xC0;
constexpr int complementOffset = 0xBD;

// The complement check that belongs to the header of image (which must hold a header).
quint8 headerComplement(const QByteArray& image);

// Sets the complement check byte of image; images shorter than a header are left alone.
bool repairHeader(QByteArray& image);

// A made-up game image of size bytes with a plausible header and a recognisable body.
QByteArray makeGameImage(const QString& title, const QString& gameCode, int size);

} // namespace romimage
