#pragma once

#include "platform/Platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace multirom {

// The copy line of flash.bat: the loader and every game joined with "+", into the
// output. Every path is quoted, so blanks and "&" stay inside their path, and "%"
// is doubled so the command interpreter does not expand it.
QString copyLine(const QString& loader, const QStringList& games, const QString& output);

// The whole batch file: "@echo off" and the copy line, each ended by CR LF, in the code
// page the command interpreter reads batch files in.
QByteArray batchFileContent(const QString& copyLine,
                            const platform::BatchEncoder& encode = platform::batchFileEncoder());

// A path as flash.bat can carry it: the path itself where the batch file's code page holds it,
// else its short name where the volume keeps one; nothing where it has neither. The interpreter
// would read a "?" in place of each letter it lacks, and "?" is a wildcard for copy: the
// multirom could take another file's bytes.
using ShortPathName = std::function<QString(const QString&)>;
std::optional<QString> batchForm(const QString& path,
                                 const platform::BatchEncoder& encode = platform::batchFileEncoder(),
                                 const ShortPathName& shortName = platform::shortPathName);

// The refusal for a path that has no form flash.bat can carry: it names shown and the first
// letter of path that the code page lacks.
QString noBatchFormMessage(const QString& shown, const QString& path,
                           const platform::BatchEncoder& encode = platform::batchFileEncoder());

// The same for any receiver of a path ("the copy", "the tool").
QString unpassablePathMessage(const QString& shown, const QString& path, const QString& receiver,
                              const platform::BatchEncoder& encode);

// Whether a file holds exactly the two lines of a batch file Vellmore writes: one left
// behind by a compile that was cut off, which the next compile may replace.
bool isLeftoverBatchFile(const QByteArray& content);

// The first path that a batch file cannot carry: a double quote would end its quoting, and a
// line break would end the command and start another.
std::optional<QString> firstUnquotablePath(const QStringList& paths);

// Checks the files of a compile before anything is written: the output must be an ordinary
// file that may be replaced (or not there yet, or a link to one), the loader and every game must
// be readable files and no game empty, and the output must lead to none of them nor to the batch
// file. Returns the message that names the first offending path.
std::optional<QString> compileInputProblem(const QString& loader, const QStringList& games, const QString& output,
                                           const QString& batchPath);

// The size the multirom must have: the sum of the sizes of the loader and the games.
qint64 expectedMultiromSize(const QString& loader, const QStringList& games);

} // namespace multirom
