// Lays out a folder to try Vellmore in: a loader and a few small game images.
#include "RomImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("games")))
        return 1;
    bool ok = writeFile(folder.filePath(QStringLiteral("gbaldr32.bin")),
                        romimage::makeGameImage(QStringLiteral("MULTI LOADER"), QStringLiteral("LDR0"), 32 * 1024));
    struct Game {
        const char* file;
        const char* title;
        const char* code;
        int kib;
    };
    const Game games[] = {
        {"Comet Courier.gba", "COMETCOURIER", "ACCE", 512},   {"Lantern Maze.gba", "LANTERN MAZE", "ALME", 256},
        {"Pocket Orchard.gba", "POCKETORCHRD", "APOE", 1024}, {"Rail Runner & Co.gba", "RAIL RUNNER", "ARRE", 384},
        {"Tide Puzzle.GBA", "TIDE PUZZLE", "ATPE", 128},
    };
    for (const Game& game : games) {
        ok = ok && writeFile(folder.filePath(QStringLiteral("games/") + QString::fromUtf8(game.file)),
                             romimage::makeGameImage(QString::fromLatin1(game.title), QString::fromLatin1(game.code),
                                                     game.kib * 1024));
    }
    return ok ? 0 : 1;
}
