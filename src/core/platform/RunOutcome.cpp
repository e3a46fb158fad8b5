#include "platform/RunOutcome.h"

namespace platform {

QString RunOutcome::describe() const
{
    switch (kind) {
    case Kind::Exited:
        return QStringLiteral("exit code %1").arg(code);
    case Kind::Signalled:
        return QStringLiteral("killed by signal %1").arg(code);
    case Kind::NotStarted:
        break;
    }
    return QStringLiteral("could not be started");
}

} // namespace platform
