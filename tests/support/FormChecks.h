#pragma once

#include "controls/FormBuilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QStringList>
#include <QTest>
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

// The text a control shows: a label's or button's caption, a text box's or combo box's text.
inline QString textOf(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText();
    return QString();
}

// One row of a window's control table: the control named so exists where the form puts it
// (geometry in twips already converted), with its text and tool tip. Returns it for more checks.
inline QWidget* checkControl(QWidget* window, const QString& name, const QRect& geometry, const QString& text,
                             const QString& toolTip)
{
    auto* control = window->findChild<QWidget*>(name);
    if (!control) {
        QTest::qFail(qPrintable("no control " + name), __FILE__, __LINE__);
        return nullptr;
    }
    [&] {
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(textOf(control), text);
        QCOMPARE(control->toolTip(), toolTip);
    }();
    return QTest::currentTestFailed() ? nullptr : control;
}
