#pragma once

#include <QObject>
#include <QtGlobal>

// A control of a window, found by its objectName as every driver finds it: the windows keep
// their controls to themselves. A name the window lacks ends the test program at once.
template <class T = QWidget, class Window> T* control(const Window& window, const char* name)
{
    const QObject* owner = &*window;
    T* found = owner->template findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(owner->objectName()), T::staticMetaObject.className(), name);
    return found;
}
