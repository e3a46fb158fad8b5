#include "controls/ListBox.h"

#include <QAccessible>

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
    if (QAccessible::isActive() && currentIndex().isValid()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(currentIndex().row());
        QAccessible::updateAccessibility(&focus);
    }
}
