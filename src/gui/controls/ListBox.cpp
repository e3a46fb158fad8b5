#include "controls/ListBox.h"

#include <QAccessible>
#include <QTimer>

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous); // all but the list view's focus event
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    // Qt tells of the list's own focus after this; the current row's focus goes after that, so that a
    // screen reader ends on the row ("List with 5 items. delta."), and only if the list still has it.
    QTimer::singleShot(0, this, [this] {
        if (QAccessible::isActive() && hasFocus() && currentIndex().isValid()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(currentIndex().row());
            QAccessible::updateAccessibility(&focus);
        }
    });
}
