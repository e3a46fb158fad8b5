#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// An argument as the C runtime of a Windows program splits it back out of a command line:
// one that holds a blank or a tab goes in double quotes (with the backslashes before a quote
// doubled and a quote inside escaped); every other argument stays exactly as it is.
QString quotedArgument(const QString& argument);

// A program and its arguments. toString() renders the command-line text the user
// would type: the program, then each argument after one blank, quoted only where it holds
// a blank or a tab. That text is what Windows receives; elsewhere the program gets the
// arguments as a vector, so a path with blanks stays one argument and no shell parses it.
class CommandLine {
public:
    CommandLine() = default;
    explicit CommandLine(QString program, QStringList arguments = {});

    const QString& program() const { return m_program; }
    const QStringList& arguments() const { return m_arguments; }

    QString toString() const;

    // The text after the program, as Windows hands it to the program unchanged.
    QString argumentText() const;

    // True when the program is a batch file (".bat" in any letter case).
    bool namesBatchFile() const;

    bool operator==(const CommandLine& other) const
    {
        return m_program == other.m_program && m_arguments == other.m_arguments;
    }

private:
    QString m_program;
    QStringList m_arguments;
};

} // namespace platform
