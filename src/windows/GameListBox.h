#pragma once

#include <QHash>
#include <QListWidget>
#include <QVector>

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

    // Appends entries with their widths in pixels, measured once by the caller.
    void appendEntries(const QStringList& texts, const QVector<int>& widths);

    // The widest entry now in the list, from the widths given when the entries were added.
    int widestEntry() const;

private:
    int m_extent = 0;
    QHash<QString, int> m_widths; // the list holds no repeats, so its text names an entry
    mutable int m_widest = 0;
    mutable bool m_widestKnown = true; // false once an entry left the list
};
