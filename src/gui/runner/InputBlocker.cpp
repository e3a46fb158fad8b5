#include "runner/InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

InputBlocker::InputBlocker(const QWidget* usable) : m_usable(usable)
{
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

InputBlocker::~InputBlocker()
{
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
}

bool InputBlocker::isInUsableWindow(QObject* watched) const
{
    if (!m_usable)
        return false;
    // Events reach the window system's window first, then the widgets in it.
    if (watched == m_usable->windowHandle())
        return true;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget && (widget == m_usable || m_usable->isAncestorOf(widget));
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::InputMethod:
        return true; // typed text through an input method, anywhere
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
        if (isInUsableWindow(watched))
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::Close)
            event->ignore(); // a window closed now would pull the state from under the running operation
        return true;
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
