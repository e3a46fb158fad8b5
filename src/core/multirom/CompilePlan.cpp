#include "multirom/CompilePlan.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QFileInfo>

namespace multirom {

namespace {

QString quotedForBatch(const QString& path)
{
    QString escaped = path;
    escaped.replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString copyLine(const QString& loader, const QStringList& games, const QString& output)
{
    QString gamePiece;
    QString separator;
    for (const QString& game : games) {
        gamePiece += separator + quotedForBatch(game);
        separator = QStringLiteral("+");
    }
    return QStringLiteral("copy /b ") + quotedForBatch(loader) + QLatin1Char('+') + gamePiece + QLatin1Char(' ') +
           quotedForBatch(output);
}

bool isLeftoverBatchFile(const QByteArray& content)
{
    static const QByteArray start = QByteArrayLiteral("@echo off\r\ncopy /b ");
    return content.startsWith(start) && content.endsWith("\r\n") && content.count('\n') == 2 &&
           content.count('\r') == 2;
}

QByteArray batchFileContent(const QString& copyLine, const platform::BatchEncoder& encode)
{
    return QByteArrayLiteral("@echo off\r\n") + encode(copyLine).value_or(QByteArray()) + QByteArrayLiteral("\r\n");
}

std::optional<QString> batchForm(const QString& path, const platform::BatchEncoder& encode,
                                 const ShortPathName& shortName)
{
    if (encode(path))
        return path;
    const QString shortPath = shortName(path);
    if (!shortPath.isEmpty() && encode(shortPath))
        return shortPath;
    return std::nullopt;
}

QString noBatchFormMessage(const QString& shown, const QString& path, const platform::BatchEncoder& encode)
{
    return unpassablePathMessage(shown, path, QStringLiteral("the copy"), encode);
}

QString unpassablePathMessage(const QString& shown, const QString& path, const QString& receiver,
                              const platform::BatchEncoder& encode)
{
    QString letter;
    for (qsizetype i = 0; i < path.size() && letter.isEmpty(); ++i) {
        const qsizetype length = QStringView(path)[i].isHighSurrogate() && i + 1 < path.size() ? 2 : 1;
        if (!encode(path.mid(i, length)))
            letter = path.mid(i, length);
        i += length - 1;
    }
    return shown + QStringLiteral(" cannot be passed to ") + receiver +
           QStringLiteral(": rename it or its folder without letters such as '") + letter + QLatin1Char('\'');
}

std::optional<QString> firstUnquotablePath(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (path.contains(QLatin1Char('"')) || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
            return path;
    }
    return std::nullopt;
}

std::optional<QString> compileInputProblem(const QString& loader, const QStringList& games, const QString& output,
                                           const QString& batchPath)
{
    if (const auto place = platform::outputPlaceProblem(output, QStringLiteral("multirom")))
        return place;
    // Where the multirom really goes: the end of the output's links, there or not yet.
    const QString target = platform::writeTarget(output).path;
    if (platform::isReadOnlyFile(target))
        return QStringLiteral("Access is denied: the multirom is read-only and stays as it is: ") + output;
    if (platform::samePlace(target, batchPath))
        return QStringLiteral("the output leads to the batch file the compile writes and deletes: ") + batchPath;
    QStringList sources{loader};
    sources += games;
    for (const QString& source : sources) {
        if (const auto problem = platform::inputFileProblem(source))
            return problem;
        if (platform::samePlace(target, source))
            return QStringLiteral("the output file is also an input of the multirom: ") + source;
    }
    // An empty loader would put the first game where the loader should start the cart.
    if (QFileInfo(loader).size() == 0)
        return QStringLiteral("the loader is empty, so the multirom would start with the first game: ") + loader;
    for (const QString& game : games) {
        if (QFileInfo(game).size() == 0)
            return QStringLiteral("this game is empty, so there is nothing of it to put in the multirom: ") + game;
    }
    return std::nullopt;
}

qint64 expectedMultiromSize(const QString& loader, const QStringList& games)
{
    qint64 total = QFileInfo(loader).size();
    for (const QString& game : games)
        total += QFileInfo(game).size();
    return total;
}

} // namespace multirom
