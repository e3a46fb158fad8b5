#pragma once

#include <QObject>

// While it lives, no window of Vellmore takes user input or can be closed, and the
// busy cursor shows; windows still repaint. Used while a started program runs.
class InputBlocker : public QObject {
    Q_OBJECT

public:
    InputBlocker();
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
