#include "Interrupt.h"

#include "run/ToolRun.h"

#include <QMetaObject>
#include <QPointer>

#include <windows.h>

namespace cli {

namespace {

QPointer<run::ToolRun> running;
DWORD received = CTRL_C_EVENT;

// Called on a thread of the system's own: the stop goes to the run's thread.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    received = event;
    if (running)
        QMetaObject::invokeMethod(running.data(), &run::ToolRun::stop, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

InterruptStops::InterruptStops(run::ToolRun* tool)
{
    running = tool;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptStops::~InterruptStops()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    running = nullptr;
}

// As a POSIX shell reports them: 2 for Ctrl+C (and Ctrl+Break), 1 for a console that was closed.
int InterruptStops::signal() const
{
    return received == CTRL_CLOSE_EVENT ? 1 : 2;
}

QString InterruptStops::how() const
{
    switch (received) {
    case CTRL_BREAK_EVENT:
        return QStringLiteral("Ctrl+Break was pressed");
    case CTRL_CLOSE_EVENT:
        return QStringLiteral("the console was closed");
    default:
        return QStringLiteral("Ctrl+C was pressed");
    }
}

} // namespace cli
