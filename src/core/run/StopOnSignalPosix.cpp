// The system's requests to end, on POSIX: the handler only writes the signal's number to a pipe,
// and the event loop reads it there.
#include "run/StopOnSignal.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace run {

namespace {

int wakePipe[2] = {-1, -1};
const int endSignals[] = {SIGINT, SIGTERM, SIGHUP};

void onSignal(int number)
{
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
}

QString howOf(int signal)
{
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM was received");
    case SIGHUP:
        return QStringLiteral("SIGHUP was received (the terminal was closed)");
    default:
        return QStringLiteral("Ctrl+C was pressed");
    }
}

} // namespace

StopOnSignal::StopOnSignal(QObject* parent) : QObject(parent)
{
    if (wakePipe[0] < 0 && ::pipe(wakePipe) == 0) {
        ::fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
        ::fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
    }
    if (wakePipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char bytes[16];
        const ssize_t read = ::read(wakePipe[0], bytes, sizeof bytes);
        if (read > 0)
            emit requested(bytes[0], howOf(bytes[0]));
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : endSignals)
        ::sigaction(number, &action, nullptr);
}

StopOnSignal::~StopOnSignal()
{
    for (const int number : endSignals)
        std::signal(number, SIG_DFL);
}

void StopOnSignal::cleanedUp() {}

} // namespace run
