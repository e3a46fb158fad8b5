#include "DemoFolder.h"

#include "RomImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace demo {

namespace {

// A link counts as there even when it leads nowhere: the user put it there.
bool isThere(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    if (isThere(path))
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        // Made meanwhile by another start of the demo: it is there, which is all that counts.
        return isThere(path)
                   ? QString()
                   : QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    if (file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return QString();
}

QString copyProgram(const QString& from, const QString& to)
{
    if (isThere(to))
        return QString();
    QFile program(from);
    if (!program.copy(to) && !isThere(to))
        return QStringLiteral("cannot copy %1 to %2: %3")
            .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), program.errorString());
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return QString();
}

} // namespace

QString defaultFolder()
{
#ifdef Q_OS_WIN
    const QString own = QStringLiteral("/Vellmore/demo"); // %LOCALAPPDATA%\Vellmore\demo, in Windows' own style
#else
    const QString own = QStringLiteral("/vellmore/demo");
#endif
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + own;
}

QString layOut(const QString& folder, const QString& simulator)
{
    const QDir demo(folder);
    errno = 0;
    if (!demo.mkpath(QStringLiteral("games"))) {
        const int failure = errno;
        return QStringLiteral("cannot make the folder %1: %2")
            .arg(QDir::toNativeSeparators(demo.filePath(QStringLiteral("games"))),
                 failure != 0 ? QString::fromLocal8Bit(std::strerror(failure))
                              : QStringLiteral("a file stands where a folder belongs, or it may not be written"));
    }
    QString problem =
        writeFile(demo.filePath(QStringLiteral("gbaldr32.bin")),
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
        if (problem.isEmpty())
            problem = writeFile(demo.filePath(QStringLiteral("games/") + QString::fromUtf8(game.file)),
                                romimage::makeGameImage(QString::fromLatin1(game.title), QString::fromLatin1(game.code),
                                                        game.kib * 1024));
    }
    if (problem.isEmpty() && !simulator.isEmpty())
        problem = copyProgram(simulator, demo.filePath(QStringLiteral("OB.exe")));
    return problem;
}

} // namespace demo
