#include "run/RunOutcome.h"

#include "platform/Platform.h"

#include <QStringList>

namespace run {

QString RunOutcome::describe() const
{
    switch (kind) {
    case Kind::Exited:
        return QStringLiteral("exit code %1").arg(code);
    case Kind::Signalled:
        return QStringLiteral("killed by signal %1").arg(code);
    case Kind::Crashed:
        return QStringLiteral("crashed with status 0x") +
               QStringLiteral("%1").arg(quint32(code), 8, 16, QLatin1Char('0')).toUpper() +
               (why.isEmpty() ? QString() : QStringLiteral(" (") + why + QLatin1Char(')'));
    case Kind::Stopped:
        return QStringLiteral("stopped: ") + why;
    case Kind::NotStarted:
        break;
    }
    return QStringLiteral("could not be started");
}

QString RunOutcome::reason() const
{
    QStringList lines;
    for (const QString& line : errorOutput.split(QLatin1Char('\n'))) {
        const QString plain = line.simplified();
        if (!plain.isEmpty())
            lines.append(plain);
    }
    return lines.mid(qMax(0, lines.size() - 3)).join(QLatin1Char(' '));
}

QString RunOutcome::describeWithReason() const
{
    const QString words = reason();
    return words.isEmpty() ? describe() : describe() + QStringLiteral(": ") + words;
}

void ErrorTail::append(const QByteArray& bytes)
{
    constexpr int kept = 4096;
    m_tail.append(bytes.right(kept));
    if (m_tail.size() > kept)
        m_tail.remove(0, m_tail.size() - kept);
}

QString ErrorTail::text() const
{
    return platform::decodeConsoleOutput(m_tail);
}

} // namespace run
