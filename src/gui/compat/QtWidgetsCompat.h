#pragma once

// What differs between Qt 6 (Linux) and Qt 5.15 (the Windows build, for Windows 7) in what the
// windows use, in one place: everything else is written once for both.

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStringList>
#include <QStyle>
#include <QWidget>

namespace compat {

// The font families installed: a static call in Qt 6, a database object's in Qt 5.
inline QStringList fontFamilies()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QFontDatabase::families();
#else
    return QFontDatabase().families();
#endif
}

inline bool isFixedPitch(const QString& family)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QFontDatabase::isFixedPitch(family);
#else
    return QFontDatabase().isFixedPitch(family);
#endif
}

// The key QStyleFactory knows a style by ("fusion", "windowsvista").
inline QString styleName(const QStyle* style)
{
    // A proxy is named after the style it draws with.
    if (const auto* proxy = qobject_cast<const QProxyStyle*>(style))
        return proxy->baseStyle() ? styleName(proxy->baseStyle()) : QString();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return style->name();
#else
    return style->objectName();
#endif
}

// Where the mouse was, in the widget's own coordinates.
inline QPoint mousePoint(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->pos();
#endif
}

// Makes window the active one of the application at once, not when the window system gets round to it.
inline void makeActive(QWidget* window)
{
    window->activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    QApplication::setActiveWindow(window);
#endif
}

} // namespace compat
