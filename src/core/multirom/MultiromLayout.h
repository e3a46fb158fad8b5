#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace multirom {

// One piece of a multirom: the loader (number 0) or a game (1, 2, ...), where it starts and how
// long it is, the title its header gives and the file it came from (empty when found by a scan).
struct MultiromPiece {
    int number = 0;
    qint64 offset = 0;
    qint64 size = 0;
    QString title;
    QString path;
};

// The pieces a compile of loader and games gives, in order, from the files themselves.
QList<MultiromPiece> layoutOfFiles(const QString& loader, const QStringList& games);

// The pieces of a multirom found in the file itself: the loader at 0, and a game wherever a header
// that checks begins (the copy joins them without gaps). Empty when the file cannot be read.
QList<MultiromPiece> layoutOfMultirom(const QString& multirom);

// Where an offset of the multirom falls: "game 3 'COMET COURIER' at +0x12A10", "the loader at +0x40";
// with the piece's file where it is known: "game 3 'COMET COURIER' (games/comet.gba) at +0x12A10".
QString placeOf(const QList<MultiromPiece>& pieces, qint64 offset);

// An offset or a byte as the tools show them: "0x" and upper-case hex digits, at least width of them.
QString hexText(qint64 value, int width = 1);

// The chip sizes a multirom may go to, in Mbit, and the bytes of one.
constexpr int chipSizesMbit[] = {8, 16, 32, 64, 128, 256};
constexpr qint64 chipBytes(int mbit)
{
    return qint64(mbit) * 131072;
}
bool isChipSize(int mbit);

} // namespace multirom
