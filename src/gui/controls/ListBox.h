#pragma once

#include <QListWidget>

// A list box of the forms. Its current entry moves without the keyboard focus when Vellmore
// fills, adds to or reorders it; only a list that has the focus tells assistive technology of
// a new current entry as a focus change, so a screen reader says where the focus really is. Taking
// the focus, it says its current entry (the open folder, in a folder list).
class ListBox : public QListWidget {
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusInEvent(QFocusEvent* event) override;
};
