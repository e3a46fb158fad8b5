#pragma once

#include <QListWidget>

// The game list's list box. Like a Windows list box it scrolls sideways over a
// horizontal extent that its owner sets, not over the width of its entries.
class GameListBox : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(int horizontalExtent READ horizontalExtent WRITE setHorizontalExtent)

public:
    explicit GameListBox(QWidget* parent = nullptr);

    int horizontalExtent() const { return m_extent; }
    void setHorizontalExtent(int pixels);

    QStringList entries() const;

private:
    int m_extent = 0;
};
