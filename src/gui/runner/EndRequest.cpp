#include "runner/EndRequest.h"

#include "runner/ConsoleWindow.h"

#include "run/StopOnSignal.h"

#include <QCoreApplication>
#include <QPointer>

#ifdef Q_OS_WIN
#include <QGuiApplication>
#include <QSessionManager>
#endif

namespace runner {

namespace {

EndAction endAction = [](int exitCode) { QCoreApplication::exit(exitCode); };
QPointer<ConsoleWindow> running;
bool ending = false;
int endingCode = 0;

void endNow()
{
    run::StopOnSignal::cleanedUp();
    endAction(endingCode);
}

} // namespace

void endOnSystemRequest()
{
    auto* requests = new run::StopOnSignal(qApp);
    QObject::connect(requests, &run::StopOnSignal::requested, qApp, [](int signal) { requestEnd(128 + signal); });
#if defined(Q_OS_WIN) && QT_CONFIG(sessionmanager)
    // Logging off: the session asks every program to be ready to end.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager&) { requestEnd(1); });
#endif
}

void setEndAction(EndAction action)
{
    endAction = std::move(action);
    ending = false;
}

QString systemEndReason()
{
    return QStringLiteral("Vellmore was asked to end");
}

void requestEnd(int exitCode)
{
    if (ending)
        return;
    ending = true;
    endingCode = exitCode;
    if (running)
        running->requestStop(systemEndReason());
    else
        endNow();
}

void runStarted(ConsoleWindow* console)
{
    running = console;
}

void runEnded()
{
    running = nullptr;
    if (ending)
        endNow();
}

} // namespace runner
