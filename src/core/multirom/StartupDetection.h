#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace multirom {

// The paths the main window starts with: the loader and the tool when they lie in
// the start folder, and the multirom output in that folder either way.
struct StartupPaths {
    QString loader; // empty when not found
    QString tool;   // empty when not found
    QString output;
};

// The names start-up looks for among the ordinary files of the start folder, letter case aside.
QStringList startupFileNames();

// The tool's name as it is looked for: "ob.exe".
QString toolLookupName();

// Composes the start-up paths from what a look-up of startupFileNames() found (wanted name
// -> name on disk) and the browser's folder as it is written.
StartupPaths composeStartupPaths(const QHash<QString, QString>& found, const QString& browserFolder);

// The start-up files that searchFolder holds, by a look-up of startupFileNames().
QHash<QString, QString> detectStartupFiles(const QString& searchFolder);

} // namespace multirom
