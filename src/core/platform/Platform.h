#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <functional>
#include <optional>

// The system's answers to what differs between Windows and the other systems Vellmore runs on:
// separators, roots, letter case, code pages, signals. What differs in files and folders is
// FileSystem's; how a program is started, the GUI runner's.
namespace platform {

// The path separator that Vellmore writes into every path it composes.
QChar separator();

// The root that plays the part of drive C's root: the one folder path that
// already ends in the separator ("C:\" on Windows, "/" elsewhere).
QString primaryRoot();

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

// Why a program file cannot be run on this system although it is a program, in words that say what
// would run it; empty when there is nothing to say. Outside Windows: a Windows program ("MZ"); on
// Windows: a DOS or 16-bit program (an "MZ" file without a Windows header).
QString foreignProgramHint(const QString& path);

// Text a console program wrote, decoded as this system's consoles show it: in the console's code page
// on Windows (the one flash.bat is written in), in the system's 8-bit encoding elsewhere.
QString decodeConsoleOutput(const QByteArray& bytes);

#ifdef Q_OS_WIN
// The system's own text for a Windows error code, whole: where it speaks of "%1", path stands.
QString windowsErrorText(unsigned long code, const QString& path = QString());
#endif

// A write to a closed pipe or past a file-size limit ends the process by default; Vellmore
// ignores both so that such a write fails with an error it reports, and leaves nothing behind.
void ignoreWriteSignals();

} // namespace platform
