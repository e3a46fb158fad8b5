// Writes Vellmore's icon: as PNG files for the desktop's icon theme (FOLDER/NxN/apps/NAME.png), or
// with --ico as one Windows icon file holding every size Windows shows (16 to 256 pixels).
#include "controls/WindowIcon.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdio>

namespace {

// An .ico file: a directory of images, each a PNG, which every Windows since Vista reads.
bool writeIco(const QString& path)
{
    const QList<int> sizes{16, 24, 32, 48, 64, 256};
    QList<QByteArray> images;
    for (const int size : sizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        if (!drawVellmoreIcon(size).save(&png, "PNG"))
            return false;
        images.append(png.data());
    }
    QByteArray ico;
    auto put16 = [&ico](quint16 value) { ico.append(reinterpret_cast<const char*>(&value), 2); };
    auto put32 = [&ico](quint32 value) { ico.append(reinterpret_cast<const char*>(&value), 4); };
    put16(qToLittleEndian<quint16>(0));
    put16(qToLittleEndian<quint16>(1)); // an icon, not a cursor
    put16(qToLittleEndian<quint16>(quint16(sizes.size())));
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        const auto side = char(sizes[i] == 256 ? 0 : sizes[i]); // 0 stands for 256
        ico.append(side).append(side).append('\0').append('\0');
        put16(qToLittleEndian<quint16>(1));  // planes
        put16(qToLittleEndian<quint16>(32)); // bits per pixel
        put32(qToLittleEndian<quint32>(quint32(images[i].size())));
        put32(qToLittleEndian<quint32>(offset));
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        ico.append(image);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--ico"))
        return writeIco(arguments[1]) ? 0 : 1;
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: %s FOLDER NAME | %s --ico FILE\n", argv[0], argv[0]);
        return 2;
    }
    const QString& folder = arguments[0];
    const QString& name = arguments[1];
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sub) || !drawVellmoreIcon(size).save(sub + QLatin1Char('/') + name + QStringLiteral(".png")))
            return 1;
    }
    return 0;
}
