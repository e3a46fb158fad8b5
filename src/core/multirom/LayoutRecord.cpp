#include "multirom/LayoutRecord.h"

#include "platform/FileSystem.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace multirom {

namespace {

constexpr int recordSchema = 1;
constexpr int largestRecord = 1 << 20; // a thousand games' names fit many times over

// What tells the multirom the record was written for from a later one: its size and time of change.
QJsonObject stampOf(const QString& multirom)
{
    const QFileInfo file(multirom);
    return {{QStringLiteral("size"), double(file.size())},
            {QStringLiteral("modified"), double(file.lastModified().toMSecsSinceEpoch())}};
}

} // namespace

QString layoutRecordPath(const QString& multirom)
{
    return multirom + QStringLiteral(".layout.json");
}

std::optional<QString> writeLayoutRecord(const QString& multirom, const QList<MultiromPiece>& pieces)
{
    QJsonArray described;
    for (const MultiromPiece& piece : pieces)
        described.append(QJsonObject{{QStringLiteral("path"), piece.path},
                                     {QStringLiteral("offset"), double(piece.offset)},
                                     {QStringLiteral("size"), double(piece.size)},
                                     {QStringLiteral("title"), piece.title}});
    const QJsonObject record{{QStringLiteral("schema"), recordSchema},
                             {QStringLiteral("multirom"), stampOf(multirom)},
                             {QStringLiteral("pieces"), described}};
    // A record is replaced whole or not at all: a half-written one would name wrong pieces.
    QSaveFile file(layoutRecordPath(multirom));
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(record).toJson()) < 0 || !file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QList<MultiromPiece>> readLayoutRecord(const QString& multirom)
{
    const QString path = layoutRecordPath(multirom);
    // Never a FIFO or a device standing where the record would be: that would block or read without end.
    const QByteArray bytes = platform::readOrdinaryFileHead(path, largestRecord);
    const QJsonObject record = QJsonDocument::fromJson(bytes).object();
    if (record.value(QStringLiteral("schema")).toInt() != recordSchema ||
        record.value(QStringLiteral("multirom")).toObject() != stampOf(multirom))
        return std::nullopt;
    QList<MultiromPiece> pieces;
    qint64 next = 0;
    for (const QJsonValue& value : record.value(QStringLiteral("pieces")).toArray()) {
        const QJsonObject piece = value.toObject();
        MultiromPiece read{int(pieces.size()), qint64(piece.value(QStringLiteral("offset")).toDouble(-1)),
                           qint64(piece.value(QStringLiteral("size")).toDouble(-1)),
                           piece.value(QStringLiteral("title")).toString(),
                           piece.value(QStringLiteral("path")).toString()};
        // Pieces follow each other without gaps; anything else is not a record this program wrote.
        if (read.offset != next || read.size < 0)
            return std::nullopt;
        next += read.size;
        pieces.append(read);
    }
    if (pieces.isEmpty() || next != QFileInfo(multirom).size())
        return std::nullopt;
    return pieces;
}

} // namespace multirom
