#pragma once

#include <QObject>
#include <QString>

namespace run {

// The system's requests to end the program, delivered on the event loop instead of inside a signal
// handler, so that a running tool can be stopped as Stop stops it and the program can clean up
// before it ends: SIGINT, SIGTERM and SIGHUP on POSIX; on Windows Ctrl+C, Ctrl+Break, the console
// closed, the user logging off and the system shutting down. One at a time; while it lives the
// program is not ended by them.
class StopOnSignal : public QObject {
    Q_OBJECT

public:
    explicit StopOnSignal(QObject* parent = nullptr);
    ~StopOnSignal() override;
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    // The program has done what it must before it ends. On Windows the system ends a program whose
    // console was closed as soon as it is told of the request, so it is held off until then (for a
    // few seconds at most); elsewhere this does nothing.
    static void cleanedUp();

signals:
    // signal: the number a POSIX shell reports (2 for Ctrl+C, 15 for SIGTERM, 1 for a closed terminal
    // or console); how: in words, "Ctrl+C was pressed", "SIGTERM was received".
    void requested(int signal, const QString& how);
};

} // namespace run
