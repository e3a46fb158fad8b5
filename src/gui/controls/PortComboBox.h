#pragma once

#include <QComboBox>

// The editable port list. Only the entry selected in the list counts, never the text shown:
// listIndex() is its position, -1 when none. An entry is selected by picking it from the
// drop-down, by the arrow keys or by setCurrentIndex(); typing into the box drops the
// selection, and Enter after typing keeps it dropped even when the text matches an entry.
class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PortComboBox(QWidget* parent = nullptr);

    int listIndex() const { return currentIndex(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dropSelectionKeepingText(const QString& text);
};
