#include "Interrupt.h"

#include "run/ToolRun.h"

#include <QMetaObject>
#include <QPointer>

#include <windows.h>

namespace cli {

namespace {

QPointer<run::ToolRun> running;

// Called on a thread of the system's own: the stop goes to the run's thread.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
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

} // namespace cli
