#include "controls/GameListBox.h"

#include "controls/GameListModel.h"
#include "multirom/GameHeader.h"

#include <QEvent>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

// Every row is as wide as the extent: the view then scrolls sideways over exactly that width,
// the way a Windows list box scrolls over its horizontal extent; and as high as the row height
// when one is set.
class ExtentDelegate : public QStyledItemDelegate {
public:
    ExtentDelegate(const int* extent, const int* rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), m_extent(extent), m_rowHeight(rowHeight)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(*m_extent,
                     *m_rowHeight > 0 ? *m_rowHeight : QStyledItemDelegate::sizeHint(option, index).height());
    }

private:
    const int* m_extent;
    const int* m_rowHeight;
};

} // namespace

GameListBox::GameListBox(QWidget* parent)
    : FocusTellingList<QListView>(parent), m_games(new GameListModel(this)), m_measure(new TextWidth(font()))
{
    setModel(m_games);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new ExtentDelegate(&m_extent, &m_rowHeight, this));
}

void GameListBox::setRowHeight(int pixels)
{
    m_rowHeight = pixels;
    doItemsLayout();
}

void GameListBox::countWidths(int first, int last, int change)
{
    if (first > last)
        return;
    const QString firstPath = m_games->path(first);
    const QString prefix = firstPath.left(GameListModel::folderLength(firstPath));
    if (prefix != m_measuredPrefix) {
        m_measure->setCommonPrefix(prefix);
        m_measuredPrefix = prefix;
    }
    for (int row = first; row <= last; ++row) {
        const size_t width = size_t(m_measure->of(m_games->path(row)));
        if (width >= m_widthCounts.size())
            m_widthCounts.resize(width + 1, 0);
        m_widthCounts[width] += change;
        if (change > 0)
            m_widest = qMax(m_widest, int(width));
    }
    while (m_widest > 0 && m_widthCounts[size_t(m_widest)] == 0)
        --m_widest;
}

// The counts follow the model through the view's own virtual slots rather than connections of
// our own: the model outlives this class's part of the object while the list is destroyed.
void GameListBox::rowsInserted(const QModelIndex& parent, int first, int last)
{
    QListView::rowsInserted(parent, first, last);
    countWidths(first, last, +1);
}

void GameListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    countWidths(first, last, -1);
    QListView::rowsAboutToBeRemoved(parent, first, last);
}

void GameListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (current.isValid())
        m_games->setDescribedHeader(current.row(), multirom::readGameHeader(m_games->path(current.row())).summary());
    FocusTellingList<QListView>::currentChanged(current, previous);
}

bool GameListBox::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex pointed = indexAt(help->pos());
        if (pointed.isValid()) {
            const QString path = m_games->path(pointed.row());
            QToolTip::showText(help->globalPos(), path + QLatin1Char('\n') + multirom::readGameHeader(path).summary(),
                               viewport(), visualRect(pointed));
            return true;
        }
    }
    return FocusTellingList<QListView>::viewportEvent(event);
}

void GameListBox::reset()
{
    QListView::reset();
    recountWidths();
}

void GameListBox::recountWidths()
{
    m_widthCounts.clear();
    m_widest = 0;
    countWidths(0, count() - 1, +1);
}

void GameListBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_measure.reset(new TextWidth(font()));
        m_measuredPrefix.clear();
        recountWidths();
    }
    QListView::changeEvent(event);
}

void GameListBox::setHorizontalExtent(int pixels)
{
    if (pixels == m_extent)
        return;
    m_extent = pixels;
    scheduleDelayedItemsLayout();
}

const QStringList& GameListBox::entries() const
{
    return m_games->paths();
}

QString GameListBox::entry(int row) const
{
    return m_games->path(row);
}

int GameListBox::count() const
{
    return m_games->rowCount();
}

void GameListBox::addItems(const QStringList& paths)
{
    m_games->append(paths);
}

void GameListBox::removeEntry(int row)
{
    m_games->remove(row);
}

void GameListBox::moveEntry(int from, int to)
{
    m_games->move(from, to);
}

void GameListBox::clear()
{
    m_games->clear();
}

void GameListBox::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_games->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

QRect GameListBox::rowRect(int row) const
{
    return visualRect(m_games->index(row, 0));
}

int GameListBox::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int GameListBox::widestEntry() const
{
    return m_widest;
}

QRegion GameListBox::visualRegionForSelection(const QItemSelection& selection) const
{
    return selection.isEmpty() ? QRegion() : QRegion(viewport()->rect());
}
