#pragma once

#include <QComboBox>

// The editable port list. Only the entry selected in the list counts, never the text shown:
// portNumber() is 1 to 4 for LPT1 to LPT4, and 1 when no entry is selected. An entry is selected by picking it from the
// drop-down, by the arrow keys or by setCurrentIndex(); typing into the box drops the
// selection, and Enter after typing keeps it dropped even when the text matches an entry.
class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PortComboBox(QWidget* parent = nullptr);

    int portNumber() const { return currentIndex() < 0 ? 1 : currentIndex() + 1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dropSelectionKeepingText(const QString& text);
};
