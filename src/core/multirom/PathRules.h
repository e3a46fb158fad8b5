#pragma once

#include <QString>

// How Vellmore composes paths from the browser's folder. A folder path ends in the
// separator only at a root; composing appends the separator and a name all the same,
// so at a root the separator appears twice ("//multi.gba"), which the system accepts.
namespace multirom {

inline const QString multiromName = QStringLiteral("multi.gba");
inline const QString batchFileName = QStringLiteral("flash.bat");
inline const QString loaderName = QStringLiteral("gbaldr32.bin");
inline const QString toolName = QStringLiteral("OB.exe");

// What every operation that needs the tool says when none is chosen: the compile and the cart's.
inline const QString toolMissingMessage = QStringLiteral("please select your Orbick location");

// folder, separator, name: always, also at a root. Empty when the folder is: a path is
// never composed from a folder that is not known.
QString composeInFolder(const QString& folder, const QString& name);

// The path of a game added from the browser: at the primary root ("C:\", or "/")
// the name follows the root directly; any other folder gets the separator. Empty when the
// folder is.
QString composeGamePath(const QString& folder, const QString& name);

// The output path for a folder chosen in the output folder window: the folder and the
// multirom's name, with the doubled separator at the root of drive C or D tidied (at "/"
// on systems with one root).
QString composeOutputPath(const QString& folder);

// Where the multirom indicator looks, and what "Erase?" deletes.
QString multiromProbePath(const QString& folder);

} // namespace multirom
