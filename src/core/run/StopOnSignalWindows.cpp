// The system's requests to end, on Windows: console events arrive on a thread of the system's own,
// which hands them to the event loop and holds the system off until the program has cleaned up.
#include "run/StopOnSignal.h"

#include <QMetaObject>
#include <QPointer>

#include <atomic>

#include <windows.h>

namespace run {

namespace {

QPointer<StopOnSignal> listening;
std::atomic<bool> done{false};

BOOL WINAPI onConsoleEvent(DWORD event)
{
    int signal = 2;
    QString how;
    switch (event) {
    case CTRL_C_EVENT:
        how = QStringLiteral("Ctrl+C was pressed");
        break;
    case CTRL_BREAK_EVENT:
        how = QStringLiteral("Ctrl+Break was pressed");
        break;
    case CTRL_CLOSE_EVENT:
        signal = 1;
        how = QStringLiteral("the console was closed");
        break;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        signal = 1;
        how = QStringLiteral("Windows is ending the session");
        break;
    default:
        return FALSE;
    }
    QPointer<StopOnSignal> to = listening;
    if (!to)
        return FALSE;
    QMetaObject::invokeMethod(
        to.data(),
        [to, signal, how] {
            if (to)
                emit to->requested(signal, how);
        },
        Qt::QueuedConnection);
    // Returning ends the program at once for a closed console: it waits for the clean-up first.
    for (int waited = 0; !done && waited < 4500; waited += 50)
        Sleep(50);
    return TRUE;
}

} // namespace

StopOnSignal::StopOnSignal(QObject* parent) : QObject(parent)
{
    listening = this;
    done = false;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopOnSignal::~StopOnSignal()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    listening = nullptr;
    done = true;
}

void StopOnSignal::cleanedUp()
{
    done = true;
}

} // namespace run
