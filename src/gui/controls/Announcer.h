#pragma once

#include <QElapsedTimer>
#include <QWidget>

// What a window says to a screen reader without showing it: a notification, drawn nowhere, whose
// name is the latest thing said. A screen reader speaks a notification as it appears, where it
// would not speak a changed description or label: it appears anew for each thing said.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* window);

    // Says text now.
    void say(const QString& text);

    // Says text unless something was said less than the pause ago, so that a run's progress
    // reaches the listener now and then without talking over everything else.
    void sayNowAndThen(const QString& text, int pauseMilliseconds);

    QString lastSaid() const { return accessibleName(); }

private:
    QElapsedTimer m_lastSaid;
};
