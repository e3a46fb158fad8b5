#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// One folder as the browser sees it: its subfolders and its ordinary files
// (no folders, no hidden files), by bare name, unsorted.
struct FolderListing {
    bool readable = false;
    QString error; // the system's reason when not readable
    QStringList folders;
    QStringList files;
};

enum class FolderParts { Folders, Files, Both };

// Decides from a file's name as the system stores it whether the listing wants it; names
// that are not wanted are never decoded, which keeps large folders cheap.
using RawNameFilter = std::function<bool(const char* name, size_t length)>;

// Reads the folder in one pass over its entries; never throws, reports the system's reason instead.
FolderListing readFolder(const QString& folder, FolderParts parts, const RawNameFilter& acceptFile = {});

// A name beginning with "." is hidden on the systems that have no hidden attribute.
bool isHiddenName(const QString& name);

// True when path names an ordinary file: not a folder, not hidden. Any failure counts as "no".
bool isOrdinaryFile(const QString& path);

// Looks up each wanted name among the ordinary files of folder without regard to letter case.
// Returns, for every wanted name found, the name as it is on disk, keyed by the wanted name.
// An unreadable folder finds nothing.
QHash<QString, QString> findOrdinaryFilesIgnoringCase(const QString& folder, const QStringList& wanted);

// Deletes a file; on failure returns false and the errno of the failure.
bool deleteFile(const QString& path, int* errorNumber);

// The system's text for an errno value.
QString systemErrorText(int errorNumber);

} // namespace platform
