#pragma once

#include <QString>
#include <QStringList>

namespace choosers {

// The filter of both windows' tool choosers: the tool by its name, any program, any file.
inline const QString toolFileFilter =
    QStringLiteral("Orbick (OB.exe)|OB.exe|Program Files (*.exe)|*.exe|All Files (*.*)|*.*");

// A file chooser's filter as the windows write it: description and pattern pairs, every
// part separated from the next by "|", a "|" at the end or not ("Loader Files (*.bin)|*.bin|
// All Files (*.*)|*.*"). Returns one name filter per pair in the form a file dialog takes,
// "Loader Files (*.bin)", the description followed by its patterns in parentheses unless it
// ends with them already. A pattern may be a plain file name ("OB.exe"); several patterns
// of one pair are separated by ";".
QStringList nameFiltersFromText(const QString& filterText);

// The patterns a name filter of nameFiltersFromText() matches names with: those in its last
// parentheses, with "*.*" taken as every file, dot or none, as Windows takes it.
QStringList matchingPatterns(const QString& nameFilter);

// The extension a save dialog gives a name typed without one while nameFilter is selected:
// "sav" for "Saved Game Files (*.sav)"; empty where the filter names no single extension
// ("All Files (*.*)", "Orbick (OB.exe)").
QString defaultSuffix(const QString& nameFilter);

} // namespace choosers
