#include "run/CommandLine.h"

#include <utility>

namespace run {

CommandLine::CommandLine(QString program, QStringList arguments)
    : m_program(std::move(program)), m_arguments(std::move(arguments))
{
}

CommandLine CommandLine::ownBatchFile(QString path)
{
    CommandLine command(std::move(path));
    command.m_ownBatchFile = true;
    return command;
}

QString quotedArgument(const QString& argument)
{
    if (!argument.contains(QLatin1Char(' ')) && !argument.contains(QLatin1Char('\t')))
        return argument;
    QString quoted = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        // Backslashes count as such only before a quote: there each one is doubled, and the quote escaped.
        if (c == QLatin1Char('"'))
            quoted += QString(backslashes * 2 + 1, QLatin1Char('\\'));
        else
            quoted += QString(backslashes, QLatin1Char('\\'));
        backslashes = 0;
        quoted += c;
    }
    quoted += QString(backslashes * 2, QLatin1Char('\\')); // before the closing quote
    return quoted + QLatin1Char('"');
}

QString CommandLine::argumentText() const
{
    QString text;
    for (const QString& argument : m_arguments)
        text += QLatin1Char(' ') + quotedArgument(argument);
    return text;
}

QString CommandLine::toString() const
{
    return m_program + argumentText();
}

bool CommandLine::namesBatchFile() const
{
    return m_program.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive) ||
           m_program.endsWith(QLatin1String(".cmd"), Qt::CaseInsensitive);
}

} // namespace run
