#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdio>

#include <functional>
#include <optional>
#include <vector>

// The system's answers to what differs between Windows and the other systems Vellmore runs on:
// separators, roots, letter case, names, code pages, error texts, signals. One source per system
// (PlatformPosix.cpp, PlatformWindows.cpp). What differs in files and folders is FileSystem's; how
// a program is started, the GUI runner's.
namespace platform {

// The path separator that Vellmore writes into every path it composes.
QChar separator();

// The root that plays the part of drive C's root: the one folder path that
// already ends in the separator ("C:\" on Windows, "/" elsewhere).
QString primaryRoot();

// The roots where a multirom chosen in the output folder window is written without the doubled
// separator: the roots of drives C and D on Windows, "/" elsewhere.
QStringList tidiedOutputRoots();

// The face the forms are drawn in on this system: their own narrow face on Windows, Liberation
// Sans (with the same metrics as Arial) elsewhere, which the program's package brings along.
QString formFaceFamily();

// Whether the file system tells "A.gba" and "a.gba" apart.
bool fileNamesAreCaseSensitive();

// The same, as the comparisons of names and paths take it.
Qt::CaseSensitivity fileNameCaseSensitivity();

// Whether a name may begin or end in blanks. Where it may not (Windows), the system drops them.
bool fileNamesKeepOuterBlanks();

// Whether batch files are run by Vellmore's own interpreter rather than the system's.
bool interpretsBatchFilesItself();

// Turns text into the bytes of one code page; nothing when the text has a character that the
// code page lacks.
using BatchEncoder = std::function<std::optional<QByteArray>(const QString&)>;

// The code page the system's command interpreter reads batch files in: the console's OEM code
// page on Windows, the system's 8-bit encoding elsewhere.
BatchEncoder batchFileEncoder();

// Turns text into the bytes a tool receives its command line in: the ANSI code page on Windows, where an
// old tool reads "?" for a letter that page lacks; elsewhere anything goes (arguments are bytes).
BatchEncoder toolArgumentEncoder();

// Why a program file cannot be run on this system although it is a program, in words that say what
// would run it; empty when there is nothing to say. Outside Windows: a Windows program ("MZ"); on
// Windows: a DOS or 16-bit program (an "MZ" file without a Windows header).
QString foreignProgramHint(const QString& path);

// Writes text to a standard stream as a console program should: to a Windows console through its
// wide calls, so every letter shows; to a file or a pipe in UTF-8 (outside Windows, in the system's
// encoding). False when it could not be written.
bool writeText(std::FILE* stream, const QString& text);

// The arguments as a shell would have handed them on: on Windows, whose shells leave wildcards to the
// program, a name with "*" or "?" becomes the files it matches (kept as it is when none does).
QStringList expandWildcards(const QStringList& arguments);

// The system's text for an errno value.
QString systemErrorText(int errorNumber);

// A name beginning with "." is hidden on the systems that have no hidden attribute.
bool isHiddenName(const QString& name);

// Whether a name read from the disk comes back to the same bytes when encoded again.
bool nameSurvivesDecoding(const char* name, size_t length);

// Text a console program wrote, decoded as this system's consoles show it: in the console's code page
// on Windows (the one flash.bat is written in), in the system's 8-bit encoding elsewhere.
QString decodeConsoleOutput(const QByteArray& bytes);

#ifdef Q_OS_WIN
// Whether Windows itself is 64-bit, whatever Vellmore is built as (a 32-bit Vellmore runs there too).
bool windowsIs64Bit();

// A process and when it was created: the start of a tree of processes that no job holds.
struct ProcessTreeRoot {
    unsigned long id = 0;
    quint64 created = 0;
};
ProcessTreeRoot processTreeRoot(unsigned long processId);

// The running processes of the tree: the root itself and every process started by one of the tree's
// since, parents as the system records them. A child is newer than its parent, so a process id the
// system gave out again is never taken for the tree's.
std::vector<unsigned long> runningProcessTree(const ProcessTreeRoot& root);

// Ends every process of the tree, a few rounds over, for one started while the others end.
void endProcessTree(const ProcessTreeRoot& root);

// Why Windows did not run a DOS or 16-bit program: 64-bit Windows has no NTVDM; 32-bit Windows runs
// them through it when the feature is there.
QString dosProgramHint();

// The libraries the Windows program at path imports that Windows would not find where it looks: the
// program's folder, the system's folders, the current folder and the PATH.
QStringList missingLibraries(const QString& path);

// The system's own text for a Windows error code, whole: where it speaks of "%1", path stands.
QString windowsErrorText(unsigned long code, const QString& path = QString());
#endif

// Whether an organisation's settings for the user exist at all (its registry key on Windows, its
// file elsewhere), and their removal, key or file, once nothing is left in them.
bool userSettingsExist(const QString& organization);
void removeUserSettings(const QString& organization);

// The path by its short (8.3) name, in ASCII where the volume keeps short names (Windows); empty
// where there is none.
QString shortPathName(const QString& path);

// A write to a closed pipe or past a file-size limit ends the process by default; Vellmore
// ignores both so that such a write fails with an error it reports, and leaves nothing behind.
void ignoreWriteSignals();

// Whether path names the file this program's standard output or error goes to (/dev/stdout, or the
// file they were sent to): writing a product there would mix it with the messages, or lose them.
bool isStandardStream(const QString& path);

} // namespace platform
