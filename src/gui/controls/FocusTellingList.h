#pragma once

#include <QAbstractItemView>
#include <QAccessible>
#include <QPainter>
#include <QTimer>

// What every list box of the forms does, over whichever Qt list it is. Its current entry moves
// without the keyboard focus when Vellmore fills, adds to or reorders it; only a list that has the
// focus tells assistive technology of a new current entry as a focus change, so a screen reader says
// where the focus really is. Taking the focus, it says its current entry (the open folder, in a folder
// list) after Qt has said the list itself, so that a screen reader ends on the row ("List with 5
// items. delta."), and only if the list still has the focus then. With the focus it draws a dotted
// frame round its current row, in the row's own text colour, as Windows list boxes do: the selection's
// colour alone looks the same with the focus and without it. An empty list frames the place of its
// first row.
template <class View> class FocusTellingList : public View {
public:
    using View::View;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        if (this->hasFocus())
            View::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous); // all but the list view's focus event
    }

    void paintEvent(QPaintEvent* event) override
    {
        View::paintEvent(event);
        if (!this->hasFocus())
            return;
        const QModelIndex current = this->currentIndex();
        const QRect row = current.isValid() ? this->visualRect(current)
                                            : QRect(0, 0, this->viewport()->width(), this->fontMetrics().height() + 2);
        const bool selected = current.isValid() && this->selectionModel()->isSelected(current);
        QPainter painter(this->viewport());
        QPen dotted(this->palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(row.adjusted(0, 0, -1, -1));
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        View::focusOutEvent(event);
        this->viewport()->update();
    }

    void focusInEvent(QFocusEvent* event) override
    {
        View::focusInEvent(event);
        this->viewport()->update();
        QTimer::singleShot(0, this, [this] {
            if (QAccessible::isActive() && this->hasFocus() && this->currentIndex().isValid()) {
                QAccessibleEvent focus(this, QAccessible::Focus);
                focus.setChild(this->currentIndex().row());
                QAccessible::updateAccessibility(&focus);
            }
        });
    }
};
