#include "controls/ListBox.h"

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous); // all but the list view's focus event
}
