#include "Interrupt.h"

#include "run/ToolRun.h"

#include <QSocketNotifier>

#include <csignal>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

int wakePipe[2] = {-1, -1};
std::unique_ptr<QSocketNotifier> notifier;
const int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

int received = SIGINT;

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
}

} // namespace

// The handler only writes to a pipe; the stop itself happens on the event loop of the run.
InterruptStops::InterruptStops(run::ToolRun* tool)
{
    if (wakePipe[0] < 0 && ::pipe(wakePipe) == 0) {
        ::fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
        ::fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
    }
    notifier = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, tool, [tool] {
        char bytes[16];
        const ssize_t read = ::read(wakePipe[0], bytes, sizeof bytes);
        if (read > 0)
            received = bytes[0];
        tool->stop();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : stopSignals)
        ::sigaction(number, &action, nullptr);
}

InterruptStops::~InterruptStops()
{
    for (const int number : stopSignals)
        std::signal(number, SIG_DFL);
    notifier.reset();
}

int InterruptStops::signal() const
{
    return received;
}

QString InterruptStops::how() const
{
    switch (received) {
    case SIGTERM:
        return QStringLiteral("SIGTERM was received");
    case SIGHUP:
        return QStringLiteral("SIGHUP was received (the terminal was closed)");
    default:
        return QStringLiteral("Ctrl+C was pressed");
    }
}

} // namespace cli
