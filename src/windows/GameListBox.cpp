#include "windows/GameListBox.h"

#include <QStyledItemDelegate>

namespace {

// Every row is as wide as the extent: the view then scrolls sideways over exactly that width,
// the way a Windows list box scrolls over its horizontal extent.
class ExtentDelegate : public QStyledItemDelegate {
public:
    ExtentDelegate(const int* extent, QObject* parent) : QStyledItemDelegate(parent), m_extent(extent) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(*m_extent, QStyledItemDelegate::sizeHint(option, index).height());
    }

private:
    const int* m_extent;
};

} // namespace

GameListBox::GameListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new ExtentDelegate(&m_extent, this));
    // The widest entry is kept as entries are appended; an entry that leaves may have been it.
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { m_widestKnown = false; });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { m_widestKnown = false; });
}

void GameListBox::setHorizontalExtent(int pixels)
{
    if (pixels == m_extent)
        return;
    m_extent = pixels;
    scheduleDelayedItemsLayout();
}

QStringList GameListBox::entries() const
{
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.append(item(i)->text());
    return texts;
}

void GameListBox::appendEntries(const QStringList& texts, const QVector<int>& widths)
{
    for (int i = 0; i < texts.size(); ++i) {
        m_widths.insert(texts[i], widths.value(i));
        m_widest = qMax(m_widest, widths.value(i));
    }
    addItems(texts);
}

int GameListBox::widestEntry() const
{
    if (!m_widestKnown) {
        m_widest = 0;
        for (int i = 0; i < count(); ++i)
            m_widest = qMax(m_widest, m_widths.value(item(i)->text()));
        m_widestKnown = true;
    }
    return m_widest;
}
