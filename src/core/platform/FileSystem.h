#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Files and folders as Vellmore asks the system about them: what stands at a path, what writing
// it would really write, deleting, and the system's own words for a failure.
namespace platform {

// True when path names an ordinary file: not a folder, not hidden. Any failure counts as "no".
bool isOrdinaryFile(const QString& path);

// Up to maxBytes from the start of the file at path, read only if it is an ordinary file (or a link
// to one): a FIFO or a device is never opened in a way that waits for a writer. Empty otherwise.
QByteArray readOrdinaryFileHead(const QString& path, int maxBytes);

// What goes wrong is said one way throughout: a function that checks returns the problem in the
// user's words, or nothing when there is none.

// Why a file to be read cannot be, or nothing when it can: "file not found: <path>" or "cannot
// read the file: <path>" (a folder, or a file that cannot be opened).
std::optional<QString> inputFileProblem(const QString& path);

// Whether two paths name the same file on disk: the same file, whatever names lead to it.
bool sameFile(const QString& a, const QString& b);

// Whether two paths lead to the same place on disk: the same file where both exist, else the same
// folder and name once links are resolved, as the file system compares names.
bool samePlace(const QString& a, const QString& b);

// Whether the file at path is kept from being replaced: read-only (no write permission for anyone,
// the read-only attribute on Windows) or not writable by this user. An administrator's power to
// replace a read-only file is not used: the user made it read-only to keep it.
bool isReadOnlyFile(const QString& path);

// A new, empty file beside target, named so that no list of games shows it: a product is built
// there and replaces target only once it is known to be whole. Its name carries this process's id
// (".vm-<id>-XXXXXX"), so that one a Vellmore left behind when it was killed is known for what it is;
// kept files (an older backup kept aside) are named apart, and never taken for abandoned ones.
struct NewFile {
    QString path;    // empty when it could not be made
    QString problem; // the system's reason then
};
enum class NewFileKind { Product, Kept };
NewFile createFileBeside(const QString& target, NewFileKind kind = NewFileKind::Product);

// The start of the name of a new file beside a target: ".vm-<this process's id>-", or ".vm-kept-".
QByteArray newFilePrefix(NewFileKind kind);

// Removes from folder the unfinished products of Vellmores that no longer run (killed, crashed, or
// the power cut); what a running one writes is left alone. Returns how many went.
int removeAbandonedFiles(const QString& folder);

// Whether a process with this id runs.
bool processRuns(qint64 processId);

// Puts replacement in target's place in one step, so that target keeps its old contents until
// then. The new file takes target's permissions, or those a new file gets. Returns the system's
// reason when it fails.
std::optional<QString> replaceFile(const QString& target, const QString& replacement);

// How a finished product takes the place of the file at target. Renamed over it in one step, the
// usual way; written into the file that stands there, as copy writes it, where a rename would make
// that file another user's or break its other names (hard links), or its folder allows no rename
// there. problem: neither way works, said with the folder's name.
struct ReplacementWay {
    bool writeInto = false;
    std::optional<QString> problem;
};
ReplacementWay replacementWay(const QString& target);

// Writes the bytes of source into the file at target, which keeps its owner, its links and its
// permissions. Returns the system's reason when it fails.
std::optional<QString> writeIntoFile(const QString& target, const QString& source);

// What writing a file at a path would really write. Links are followed to their end: a link to
// an ordinary file is written through, a link that leads nowhere yet makes the file where it
// leads, and a link that leads back to itself cannot be written at all.
struct WriteTarget {
    enum class Kind {
        Ordinary, // an ordinary file stands at path: it would be replaced
        Missing,  // nothing stands at path yet: a new file would be made there
        NotAFile, // a folder, a device, a FIFO or a socket: never replaced by a file
        LinkLoop, // links that lead round in a circle
    };
    Kind kind = Kind::Missing;
    QString path; // where the bytes would go: the given path, or the end of its links

    bool writable() const { return kind == Kind::Ordinary || kind == Kind::Missing; }
};
WriteTarget writeTarget(const QString& path);

// writeTarget(path).path where a file may be written there, else empty.
QString replacementTarget(const QString& path);

// Why the product of an operation ("multirom", "backup") cannot be written at path, or nothing
// when it can: "the output is not an ordinary file and cannot be replaced by the backup: path".
std::optional<QString> outputPlaceProblem(const QString& path, const QString& product);

// What stood at a path at one moment: enough to tell afterwards whether a program wrote it.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modified = 0; // in the finest unit the system keeps

    static FileStamp of(const QString& path);
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// Why a program that ended well did not give the file it was to write, or nothing when it did:
// nothing there, the very file that stood there before (stamped before the run), or an empty
// file. writer names the program ("the tool").
std::optional<QString> unwrittenReason(const QString& path, const FileStamp& before, const QString& writer);

// Why the file system cannot hold a file of this name in that folder, or nothing when it can:
// a name longer than the file system's limit.
std::optional<QString> nameProblem(const QString& path);

// Whether a path as a file dialog gives it cannot name the file it showed: the system stores
// names as bytes, and a name that is not valid text comes back decoded to another name (with
// U+FFFD in place of its bad bytes) that names another file or none.
bool isUndecodableName(const QString& path);

// What deleting a file came to.
struct Deletion {
    bool gone = false; // nothing is left at path: deleted now, or not there to begin with
    QString reason;    // the system's reason when something is still there
};

// Deletes a file, taking the reason of a failure from the system it runs on.
Deletion deleteFile(const QString& path);

// The folder the program was started in, as the browser writes it. Empty, with the reason,
// when it cannot be known: it was deleted, its path is longer than the system allows, or its
// name is not valid text.
struct StartFolder {
    QString path;
    QString problem;
};
StartFolder startFolder();

// Where a browser goes when the folder it was to show cannot be read, in the order to try:
// the home folder, then the root.
QStringList fallbackFolders();

} // namespace platform
