#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// Decides from a file's name as the system stores it whether a listing wants it; names
// that are not wanted are never decoded, which keeps large folders cheap.
using RawNameFilter = std::function<bool(const char* name, size_t length)>;

// What to read from a folder in its one pass over the entries.
struct FolderQuery {
    bool folders = false;         // the subfolders
    bool files = false;           // the ordinary files that acceptFile wants
    RawNameFilter acceptFile;     // empty: every ordinary file
    QStringList findIgnoringCase; // plain ASCII names looked up among all ordinary files
    bool sortForDisplay = false;  // sort folders and files as the browser shows them
};

// One folder as the browser sees it: its subfolders and its ordinary files (no folders,
// no hidden files), by bare name.
struct FolderListing {
    bool readable = false;
    QString error; // the system's reason when not readable
    QStringList folders;
    QStringList files;
    QHash<QString, QString> found; // wanted name -> the name as it is on disk
    // Names as listed whose bytes on disk are not valid text: such a name, once decoded, names
    // another file or none, so it is shown but never used.
    QSet<QString> unusable;
};

// What the user is told of a folder that cannot be read: "cannot read the folder <path>: <reason>".
QString folderUnreadableMessage(const QString& path, const QString& reason);

// Reads the folder once; never throws, reports the system's reason instead.
FolderListing readFolder(const QString& folder, const FolderQuery& query);

// Sorts names the way the browser lists them: alphabetically, letter case aside.
void sortNamesForDisplay(QStringList& names);

// Sorts a listing as its query asks: how every system's reader ends.
void finishListing(FolderListing& listing, const FolderQuery& query);

} // namespace platform
