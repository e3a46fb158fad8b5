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

// One row of a window's controls: the control named so exists, with its text and tool tip, wholly
// inside the frame or area that holds it, and its caption whole in the face in use. Returns it for
// more checks.
inline QWidget* checkControl(QWidget* window, const QString& name, const QString& text, const QString& toolTip)
{
    auto* control = window->findChild<QWidget*>(name);
    if (!control) {
        QTest::qFail(qPrintable("no control " + name), __FILE__, __LINE__);
        return nullptr;
    }
    [&] {
        QVERIFY2(QRect(QPoint(), control->parentWidget()->size()).contains(control->geometry()),
                 qPrintable(name + " is cut off by " + control->parentWidget()->objectName()));
        QVERIFY2(form::captionFits(control), qPrintable(name + "'s caption is cut off"));
        QCOMPARE(textOf(control), text);
        QCOMPARE(control->toolTip(), toolTip);
    }();
    return QTest::currentTestFailed() ? nullptr : control;
}
