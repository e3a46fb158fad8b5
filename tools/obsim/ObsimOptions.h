#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace obsim {

// One command line of the tool, checked value by value.
struct Options {
    bool repairHeader = true;
    bool epp = false;
    int waitStep = 0;
    int port = 1;
    char operation = 0; // 'p', 'b', 'r' or 'c'
    int bank = 0;
    int sizeCode = 0;
    int chipMbit = 0;
    QString file;
};

// A whole number of digits only, blanks around it allowed; nothing for anything else.
std::optional<int> wholeNumber(const QString& text);

// The arguments after the program as one of the tool's four command lines; nothing, and the
// reason in problem, for anything else.
std::optional<Options> parseOptions(const QStringList& args, QString* problem);

} // namespace obsim
