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
}

void GameListBox::setHorizontalExtent(int pixels)
{
    if (pixels == m_extent)
        return;
    m_extent = pixels;
    doItemsLayout();
}

QStringList GameListBox::entries() const
{
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.append(item(i)->text());
    return texts;
}
