#include "multirom/MultiromLayout.h"

#include "multirom/GameHeader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace multirom {

QList<MultiromPiece> layoutOfFiles(const QString& loader, const QStringList& games)
{
    QList<MultiromPiece> pieces;
    qint64 offset = 0;
    for (const QString& path : QStringList{loader} + games) {
        const GameHeader header = readGameHeader(path);
        pieces.append({int(pieces.size()), offset, header.size, header.title, path});
        offset += header.size;
    }
    return pieces;
}

QList<MultiromPiece> layoutOfMultirom(const QString& multirom)
{
    QFile file(multirom);
    if (!QFileInfo(multirom).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    QList<MultiromPiece> pieces;
    constexpr qint64 chunk = 4 << 20;
    // Each chunk is read with a header's length of the next, so that a header across the cut is whole.
    for (qint64 start = 0; start < size; start += chunk) {
        file.seek(start);
        const QByteArray bytes = file.read(chunk + gameHeaderSize);
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
        const qint64 last = qMin<qint64>(chunk, bytes.size() - gameHeaderSize);
        for (qint64 i = 0; i < last; ++i) {
            // The cheap signs first: the fixed value, the zero after it and the branch over the header.
            if (data[i + 0xB2] != 0x96 || data[i + 0xB3] != 0 || data[i + 3] != 0xEA)
                continue;
            if (start + i > 0 && !gameHeaderOf(bytes.mid(i, gameHeaderSize), gameHeaderSize).checks())
                continue;
            pieces.append({int(pieces.size()), start + i, 0,
                           gameHeaderOf(bytes.mid(i, gameHeaderSize), gameHeaderSize).title, QString()});
        }
    }
    if (pieces.isEmpty() || pieces.first().offset != 0)
        pieces.prepend({0, 0, 0, QString(), QString()}); // the loader, whatever its header says
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        pieces[i].number = int(i);
        pieces[i].size = (i + 1 < pieces.size() ? pieces[i + 1].offset : size) - pieces[i].offset;
    }
    return pieces;
}

QString hexText(qint64 value, int width)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

bool isChipSize(int mbit)
{
    return std::find(std::begin(chipSizesMbit), std::end(chipSizesMbit), mbit) != std::end(chipSizesMbit);
}

QString placeOf(const QList<MultiromPiece>& pieces, qint64 offset)
{
    for (auto piece = pieces.crbegin(); piece != pieces.crend(); ++piece) {
        if (offset < piece->offset)
            continue;
        const QString at = (piece->path.isEmpty() ? QString() : QStringLiteral(" (") + piece->path + QLatin1Char(')')) +
                           QStringLiteral(" at +") + hexText(offset - piece->offset);
        if (piece->number == 0)
            return QStringLiteral("the loader") + at;
        return QStringLiteral("game %1 '%2'").arg(piece->number).arg(piece->title) + at;
    }
    return QStringLiteral("past the multirom");
}

} // namespace multirom
