#include "controls/GameListBox.h"

#include "multirom/GameHeader.h"

#include <QEvent>
#include <QHelpEvent>
#include <QSignalBlocker>
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

// Where the folder ends in a path (after its last separator): the part many entries of one Add share.
qsizetype folderLength(const QString& path)
{
    return qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

QString folderPart(const QString& path)
{
    return path.left(folderLength(path));
}

} // namespace

GameListBox::GameListBox(QWidget* parent) : ListBox(parent), m_measure(new TextWidth(font()))
{
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
    const QString prefix = folderPart(item(first)->text());
    if (prefix != m_measuredPrefix) {
        m_measure->setCommonPrefix(prefix);
        m_measuredPrefix = prefix;
    }
    for (int row = first; row <= last; ++row) {
        const size_t width = size_t(m_measure->of(item(row)->text()));
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
    QListWidget::rowsInserted(parent, first, last);
    countWidths(first, last, +1);
    m_described = qMin(m_described, first);
    describeRows();
}

void GameListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (QListWidgetItem* entry = item(current.row())) {
        const QString folder = folderPart(entry->text());
        const QSignalBlocker quiet(model());
        entry->setData(Qt::AccessibleDescriptionRole, (folder.isEmpty() ? folder : folder.chopped(1)) +
                                                          QStringLiteral("; ") +
                                                          multirom::readGameHeader(entry->text()).summary());
    }
    ListBox::currentChanged(current, previous);
}

bool GameListBox::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const QListWidgetItem* entry = itemAt(help->pos())) {
            QToolTip::showText(help->globalPos(),
                               entry->text() + QLatin1Char('\n') + multirom::readGameHeader(entry->text()).summary(),
                               viewport(), visualItemRect(entry));
            return true;
        }
    }
    return ListBox::viewportEvent(event);
}

void GameListBox::describeRows()
{
    // What only a screen reader and a tooltip read: the rows are not drawn again for it.
    // Pointing at a row shows its path by viewportEvent(): no tooltip is stored. The rows of one Add share
    // their folder, and so one description string.
    const QSignalBlocker quiet(model());
    QString folder;
    QVariant description;
    for (int row = m_described; row < count(); ++row) {
        QListWidgetItem* entry = item(row);
        const QString path = entry->text();
        const qsizetype cut = folderLength(path);
        if (cut != folder.size() || !path.startsWith(folder)) {
            folder = path.left(cut);
            description = folder.isEmpty() ? folder : folder.chopped(1);
        }
        entry->setData(Qt::AccessibleTextRole,
                       QStringLiteral("slot ") + QString::number(row + 1) + QStringLiteral(": ") + path.mid(cut));
        entry->setData(Qt::AccessibleDescriptionRole, description);
    }
    m_described = count();
}

void GameListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    countWidths(first, last, -1);
    QListWidget::rowsAboutToBeRemoved(parent, first, last);
    // The rows after these move up a slot once they are gone.
    m_described = qMin(m_described, first);
    QMetaObject::invokeMethod(this, &GameListBox::describeRows, Qt::QueuedConnection);
}

void GameListBox::reset()
{
    QListWidget::reset();
    recountWidths();
    m_described = 0;
    describeRows();
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
    QListWidget::changeEvent(event);
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
