#include "platform/CommandLine.h"

#include <utility>

namespace platform {

CommandLine::CommandLine(QString program, QStringList arguments)
    : m_program(std::move(program)), m_arguments(std::move(arguments))
{
}

QString CommandLine::argumentText() const
{
    QString text;
    for (const QString& argument : m_arguments)
        text += QLatin1Char(' ') + argument;
    return text;
}

QString CommandLine::toString() const
{
    return m_program + argumentText();
}

bool CommandLine::namesBatchFile() const
{
    return m_program.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive);
}

} // namespace platform
