#pragma once

#include "controls/FormBuilder.h"

#include <QRect>
#include <QStringList>
#include <QWidget>

// A rectangle given in twips, as the forms' tables give positions, in pixels.
inline QRect twips(int left, int top, int width, int height)
{
    return QRect(form::pixels(left), form::pixels(top), form::pixels(width), form::pixels(height));
}

// The order in which Tab visits the named controls, starting at first: each name once,
// controls not named (labels, inner editors) passed over.
inline QStringList tabOrderOf(QWidget* first, const QStringList& names)
{
    QStringList order;
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return order;
}
