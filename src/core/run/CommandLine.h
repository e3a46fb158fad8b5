#pragma once

#include <QString>
#include <QStringList>

namespace run {

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

    // Vellmore's own flash.bat. Outside Windows it is the one program Vellmore's batch interpreter
    // runs: a tool that happens to be named "ob.bat" is a program like any other there.
    static CommandLine ownBatchFile(QString path);
    bool isOwnBatchFile() const { return m_ownBatchFile; }

    const QString& program() const { return m_program; }
    const QStringList& arguments() const { return m_arguments; }

    QString toString() const;

    // The text after the program, as Windows hands it to the program unchanged.
    QString argumentText() const;

    // True when the program's name says batch file (".bat" or ".cmd", in any letter case): Windows
    // runs such a program through cmd.exe.
    bool namesBatchFile() const;

    bool operator==(const CommandLine& other) const
    {
        return m_program == other.m_program && m_arguments == other.m_arguments &&
               m_ownBatchFile == other.m_ownBatchFile;
    }

private:
    QString m_program;
    QStringList m_arguments;
    bool m_ownBatchFile = false;
};

} // namespace run
