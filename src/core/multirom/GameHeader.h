#pragma once

#include "multirom/HeaderBytes.h"

#include <QByteArray>
#include <QString>

namespace multirom {

// What the header of a Game Boy Advance image says, and whether it checks: the fixed value 0x96
// at 0xB2 (without it the file is no game image), 0 at 0xB3 and the complement byte at 0xBD over
// bytes 0xA0 to 0xBC.
struct GameHeader {
    qint64 size = 0;
    QString title;    // 12 characters at 0xA0, without the padding
    QString gameCode; // 4 at 0xAC
    QString maker;    // 2 at 0xB0
    int version = 0;  // at 0xBC
    QString problem;  // why it does not check ("complement byte is 0x3A, 0x3B expected"); empty when it does

    bool checks() const { return problem.isEmpty(); }
    // "COMET COURIER (CMTE, maker 01): header checks", for a tooltip and a screen reader.
    QString summary() const;
};

// The header of an image whose first bytes are head (at least gameHeaderSize of them when the
// image is that long) and whose whole size is size.
GameHeader gameHeaderOf(const QByteArray& head, qint64 size);

// The header of the image at path; an image that cannot be read says why as its problem.
GameHeader readGameHeader(const QString& path);

// The save memory an image asks for, from the library's ID string it holds: "EEPROM", "SRAM",
// "Flash 64K", "Flash 128K", or "none". Reads the whole image.
QString saveTypeOf(const QString& path);

} // namespace multirom
