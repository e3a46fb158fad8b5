#pragma once

#include <QComboBox>

// The editable port list. Only an entry picked from the list counts: its position
// is listIndex(); typing into the box drops the pick (-1), whatever the text says.
class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit PortComboBox(QWidget* parent = nullptr);

    int listIndex() const { return m_listIndex; }
    void pickEntry(int index);

private:
    int m_listIndex = -1;
};
