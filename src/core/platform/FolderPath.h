#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// A folder path as the browser writes it: absolute, native separators, and a
// trailing separator only at a root.
QString normalisedFolderPath(const QString& path);

// The folders from the root down to folder, each as a full normalised path:
// "/", "/home", "/home/user" for /home/user.
QStringList folderChain(const QString& folder);

} // namespace platform
