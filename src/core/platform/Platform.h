#pragma once

#include <QChar>
#include <QString>

// What differs between Windows and the other systems Vellmore runs on, in one place.
namespace platform {

// The path separator that Vellmore writes into every path it composes.
QChar separator();

// The root that plays the part of drive C's root: the one folder path that
// already ends in the separator ("C:\" on Windows, "/" elsewhere).
QString primaryRoot();

// Whether the file system tells "A.gba" and "a.gba" apart.
bool fileNamesAreCaseSensitive();

// Whether batch files are run by Vellmore's own interpreter rather than the system's.
bool interpretsBatchFilesItself();

// A write to a closed pipe or past a file-size limit ends the process by default; Vellmore
// ignores both so that such a write fails with an error it reports, and leaves nothing behind.
void ignoreWriteSignals();

} // namespace platform
