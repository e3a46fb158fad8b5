#pragma once

#include "controls/FocusTellingList.h"
#include "controls/TextWidth.h"

#include <QListView>

#include <memory>
#include <vector>

class GameListModel;

// The game list's list box. Like a Windows list box it scrolls sideways over a
// horizontal extent that its owner sets, not over the width of its entries. It measures
// each entry once, as it arrives, and keeps count of the widths, so the widest entry is
// known at any time without measuring the list again. Each row shows its path; a screen
// reader hears its slot and file name ("slot 3: Comet Courier.gba"), with the folder as its
// description, and pointing at it shows the whole path. The game's header (title, code, whether
// it checks) is read only when asked for: pointed at, or the row made current, where it joins the
// description.
class GameListBox : public FocusTellingList<QListView> {
    Q_OBJECT
    Q_PROPERTY(int horizontalExtent READ horizontalExtent WRITE setHorizontalExtent)

public:
    explicit GameListBox(QWidget* parent = nullptr);

    int horizontalExtent() const { return m_extent; }
    void setHorizontalExtent(int pixels);

    // Every row this many pixels high, whatever the face's own line height; 0: the face's.
    void setRowHeight(int pixels);

    // The games' paths, in slot order.
    const QStringList& entries() const;
    QString entry(int row) const;
    int count() const;

    void addItem(const QString& path) { addItems({path}); }
    void addItems(const QStringList& paths);
    void removeEntry(int row);
    // Moves the game at from to to, the rows between moving up or down a slot.
    void moveEntry(int from, int to);
    void clear();

    int currentRow() const { return currentIndex().row(); }
    // Makes row current and the one selected; -1: none.
    void setCurrentRow(int row);
    // The position of the selected entry, -1 when none is: the current row alone does not count.
    int selectedRow() const;

    QRect rowRect(int row) const;

    // The width in pixels of the widest entry now in the list, in the list's font.
    int widestEntry() const;

    void reset() override;

protected:
    // A changed selection repaints the rows in view; working out the rows' own rectangles
    // would lay out the whole list again on every move.
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void changeEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int first, int last) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool viewportEvent(QEvent* event) override;

private:
    void countWidths(int first, int last, int change);
    void recountWidths();

    GameListModel* m_games;
    int m_extent = 0;
    int m_rowHeight = 0;
    std::unique_ptr<TextWidth> m_measure;
    QString m_measuredPrefix;
    std::vector<int> m_widthCounts; // how many entries are this many pixels wide
    int m_widest = 0;
};
