#include "controls/Announcer.h"

#include "controls/Accessibility.h"

Announcer::Announcer(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("announcement"));
    accessibility::mark(this, accessibility::Kind::Notification);
    // One pixel in the corner, under everything and painting nothing: shown to the accessibility tree,
    // which reads only what is shown, not to the eye.
    setGeometry(0, 0, 1, 1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    lower();
}

void Announcer::say(const QString& text)
{
    m_lastSaid.start();
    setAccessibleName(text);
    // A screen reader speaks a notification as it appears: it appears again with every word said.
    hide();
    show();
}

void Announcer::sayNowAndThen(const QString& text, int pauseMilliseconds)
{
    if (m_lastSaid.isValid() && m_lastSaid.elapsed() < pauseMilliseconds)
        return;
    say(text);
}
