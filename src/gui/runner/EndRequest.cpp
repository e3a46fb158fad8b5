#include "runner/EndRequest.h"

#include "runner/ConsoleWindow.h"

#include <QCoreApplication>
#include <QPointer>

#ifdef Q_OS_WIN
#include <QGuiApplication>
#include <QSessionManager>

#include <atomic>

#include <windows.h>
#else
#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>
#endif

namespace runner {

namespace {

EndAction endAction = [](int exitCode) { QCoreApplication::exit(exitCode); };
QPointer<ConsoleWindow> running;
bool ending = false;
int endingCode = 0;

#ifdef Q_OS_WIN
std::atomic<bool> ended{false};
#endif

void endNow()
{
#ifdef Q_OS_WIN
    ended = true;
#endif
    endAction(endingCode);
}

#ifdef Q_OS_WIN

// Runs on a thread of the system's: the request goes to the GUI thread, and the system is held off
// until Vellmore has cleaned up (it ends the process when this returns, for a closed console).
BOOL WINAPI consoleEvent(DWORD event)
{
    if (event == CTRL_BREAK_EVENT)
        return FALSE;
    QMetaObject::invokeMethod(
        qApp, [event] { requestEnd(event == CTRL_C_EVENT ? 130 : 1); }, Qt::QueuedConnection);
    for (int waited = 0; !ended && waited < 4500; waited += 50)
        Sleep(50);
    return TRUE;
}

#else

int signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &number, 1);
}

#endif

} // namespace

void endOnSystemRequest()
{
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(consoleEvent, TRUE);
#if QT_CONFIG(sessionmanager)
    // Logging off: the session asks every program to be ready to end.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager&) { requestEnd(1); });
#endif
#else
    if (::pipe(signalPipe) != 0)
        return;
    for (const int end : signalPipe)
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        unsigned char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1)
            requestEnd(128 + number);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
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
