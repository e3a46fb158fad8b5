#include "RomImage.h"

namespace romimage {

quint8 headerComplement(const QByteArray& image)
{
    return headerComplement(image.constData());
}

bool repairHeader(QByteArray& image)
{
    if (image.size() < headerSize)
        return false;
    image[complementOffset] = char(headerComplement(image));
    return true;
}

QByteArray makeGameImage(const QString& title, const QString& gameCode, int size)
{
    QByteArray image(qMax(size, headerSize), '\0');
    // Entry point: a branch over the header.
    image[0] = char(0x2E);
    image[3] = char(0xEA);
    const QByteArray titleBytes = title.toUpper().toLatin1().left(12);
    image.replace(0xA0, titleBytes.size(), titleBytes);
    const QByteArray codeBytes = gameCode.toUpper().toLatin1().left(4);
    image.replace(0xAC, codeBytes.size(), codeBytes);
    image[0xB0] = '0';
    image[0xB1] = '1';
    image[0xB2] = char(0x96);
    for (int i = headerSize; i < image.size(); ++i)
        image[i] = char((i * 7 + titleBytes.size()) & 0xFF);
    repairHeader(image);
    return image;
}

} // namespace romimage
