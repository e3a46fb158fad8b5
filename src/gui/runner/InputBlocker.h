#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// While it lives, no window of Vellmore takes user input or can be closed, and the
// busy cursor shows; windows still repaint. Used while a started program runs. The one
// window given stays usable: the console, which the user may scroll, close or Ctrl+C.
class InputBlocker : public QObject {
    Q_OBJECT

public:
    explicit InputBlocker(const QWidget* usable = nullptr);
    ~InputBlocker() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isInUsableWindow(QObject* watched) const;

    QPointer<const QWidget> m_usable;
};
