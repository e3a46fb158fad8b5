#include "multirom/GameHeader.h"

#include "multirom/MultiromLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <array>
#include <utility>

namespace multirom {

namespace {

// A header's text is ASCII, and padding is zeros. Any other byte is written as "\xNN" (a backslash
// too), so that the text still says which bytes the header holds.
QString headerText(const QByteArray& head, int offset, int length)
{
    QString text;
    for (int i = offset; i < offset + length; ++i) {
        const auto byte = static_cast<unsigned char>(head[i]);
        if (byte == 0)
            break;
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            text += QChar(char16_t(byte));
        else
            text += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return text.trimmed();
}

} // namespace

QString GameHeader::summary() const
{
    if (title.isEmpty() && gameCode.isEmpty() && !checks())
        return problem; // no header at all: nothing else to say
    return QStringLiteral("%1 (%2, maker %3): %4")
        .arg(title.isEmpty() ? QStringLiteral("no title") : title, gameCode, maker,
             checks() ? QStringLiteral("header checks") : problem);
}

GameHeader gameHeaderOf(const QByteArray& head, qint64 size)
{
    GameHeader header;
    header.size = size;
    // Without the fixed value there is no header: the file is something else.
    if (size < gameHeaderSize || head.size() < gameHeaderSize || static_cast<unsigned char>(head[0xB2]) != 0x96) {
        header.problem = QStringLiteral("not a game image: %1 bytes").arg(QLocale(QLocale::English).toString(size));
        return header;
    }
    header.title = headerText(head, 0xA0, 12);
    header.gameCode = headerText(head, 0xAC, 4);
    header.maker = headerText(head, 0xB0, 2);
    header.version = static_cast<unsigned char>(head[0xBC]);
    const int check = headerComplement(head.constData());
    const int zero = static_cast<unsigned char>(head[0xB3]);
    const int complement = static_cast<unsigned char>(head[0xBD]);
    if (zero != 0)
        header.problem = QStringLiteral("byte at 0xB3 is %1, 0x00 expected").arg(hexText(zero, 2));
    else if (complement != check)
        header.problem =
            QStringLiteral("complement byte is %1, %2 expected").arg(hexText(complement, 2), hexText(check, 2));
    return header;
}

GameHeader readGameHeader(const QString& path)
{
    // A FIFO or a device would hold the read up, or never end it.
    if (!QFileInfo(path).isFile()) {
        GameHeader header;
        header.problem =
            QFileInfo::exists(path) ? QStringLiteral("not an ordinary file") : QStringLiteral("there is no such file");
        return header;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GameHeader header;
        header.problem = QStringLiteral("cannot read it: ") + file.errorString();
        return header;
    }
    return gameHeaderOf(file.read(gameHeaderSize), file.size());
}

QString saveTypeOf(const QString& path)
{
    // The most specific first: "FLASH_V" stands in none of the others, nor "SRAM_V" in "SRAM_F_V".
    static const std::array<std::pair<QByteArray, const char*>, 6> kinds{{{"EEPROM_V", "EEPROM"},
                                                                          {"SRAM_F_V", "SRAM"},
                                                                          {"SRAM_V", "SRAM"},
                                                                          {"FLASH1M_V", "Flash 128K"},
                                                                          {"FLASH512_V", "Flash 64K"},
                                                                          {"FLASH_V", "Flash 64K"}}};
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("none");
    // Games place their ID string at a 4-byte boundary; one elsewhere is text that merely looks like one.
    // Where a game holds two, the first in the file is its own.
    constexpr qint64 chunk = 1 << 20;
    constexpr int overlap = 16; // an ID string cut by the chunk's end is found in the next
    QByteArray carried;
    qint64 base = 0; // the file offset of the chunk's first byte
    while (!file.atEnd()) {
        const QByteArray bytes = carried + file.read(chunk);
        qint64 first = -1;
        const char* found = nullptr;
        for (const auto& [id, name] : kinds) {
            for (qsizetype at = bytes.indexOf(id); at >= 0; at = bytes.indexOf(id, at + 1)) {
                if ((base + at) % 4 != 0)
                    continue;
                if (first < 0 || at < first) {
                    first = at;
                    found = name;
                }
                break;
            }
        }
        if (found)
            return QString::fromLatin1(found);
        carried = bytes.right(overlap);
        base += bytes.size() - carried.size();
    }
    return QStringLiteral("none");
}

} // namespace multirom
