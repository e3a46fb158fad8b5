// Writes Vellmore's icon as PNG files for the desktop's icon theme: FOLDER/NxN/apps/NAME.png.
#include "controls/WindowIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER NAME\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sub) || !drawVellmoreIcon(size).save(sub + QLatin1Char('/') + name + QStringLiteral(".png")))
            return 1;
    }
    return 0;
}
