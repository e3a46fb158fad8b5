#pragma once

#include <QString>

namespace multirom {

// The paths the main window starts with: the loader and the tool when they lie in
// the start folder, and the multirom output in that folder either way.
struct StartupPaths {
    QString loader; // empty when not found
    QString tool;   // empty when not found
    QString output;
};

// Looks for the loader and the tool among the ordinary files of searchFolder without
// regard to letter case, and composes the paths from browserFolder as it is written.
// Where letter case matters to the file system, the name is taken as it is on disk,
// so the path names the file that is really there; elsewhere the usual forms are written.
StartupPaths detectStartupPaths(const QString& searchFolder, const QString& browserFolder);

} // namespace multirom
