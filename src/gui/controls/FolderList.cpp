#include "controls/FolderList.h"

#include "compat/QtWidgetsCompat.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace {

// A small folder, drawn here: the style's own icons are read from image files, which
// start-up has no time for.
QIcon folderIcon(bool open)
{
    QIcon icon;
    // One image per screen density, so that high-density screens get a sharp folder too.
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(QPen(QColor(128, 128, 0), 0));
        painter.setBrush(QColor(255, 255, 128));
        painter.drawRect(1, 2, 6, 2);
        painter.drawRect(1, 4, 13, 9);
        if (open) {
            painter.setBrush(QColor(255, 255, 192));
            const QPoint flap[] = {{1, 13}, {4, 7}, {15, 7}, {14, 13}};
            painter.drawPolygon(flap, 4);
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Gives each row its folder icon as it is drawn: open for the chain, closed for the subfolders.
class FolderIconDelegate : public QStyledItemDelegate {
public:
    explicit FolderIconDelegate(const FolderList* list)
        : QStyledItemDelegate(const_cast<FolderList*>(list)), m_list(list)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        static const QIcon openIcon = folderIcon(true);
        static const QIcon closedIcon = folderIcon(false);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = m_list->isInChain(index.row()) ? openIcon : closedIcon;
        option->decorationSize = m_list->iconSize();
    }

private:
    const FolderList* m_list;
};

} // namespace

FolderList::FolderList(QWidget* parent) : BrowseList(parent)
{
    setIconSize(QSize(16, 16)); // in device-independent pixels; the icon has an image for each density
    setItemDelegate(new FolderIconDelegate(this));
}

// A folder opens on a double-click or Enter only, whatever the desktop style does with a single click.
void FolderList::mouseDoubleClickEvent(QMouseEvent* event)
{
    BrowseList::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QModelIndex entry = indexAt(compat::mousePoint(event));
        if (entry.isValid())
            open(entry.row());
    }
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        open(currentRow());
        return;
    }
    BrowseList::keyPressEvent(event);
}

void FolderList::open(int row)
{
    if (!isInChain(row) && isUnusable(entryName(row))) {
        emit folderUnreadable(folderOf(row), tr("its name is not valid text, so Vellmore cannot open it"));
        return;
    }
    setPath(folderOf(row));
}

QString FolderList::folderOf(int row) const
{
    if (row < 0 || row >= m_chain.size() + m_children.size())
        return QString();
    return isInChain(row) ? m_chain[row] : m_childPrefix + m_children[row - m_chain.size()];
}

QString FolderList::entryName(int row) const
{
    return isInChain(row) ? QString() : m_children.value(row - m_chain.size());
}

platform::FolderQuery FolderList::query() const
{
    platform::FolderQuery query;
    query.folders = true;
    query.sortForDisplay = true;
    return query;
}

void FolderList::fill(const QString& folder, const platform::FolderListing& listing)
{
    m_chain = platform::folderChain(folder);
    m_childPrefix = folder.endsWith(platform::separator()) ? folder : folder + platform::separator();
    m_children = listing.folders;

    const QString indentStep = QStringLiteral("  ");
    QStringList texts;
    texts.reserve(m_chain.size() + m_children.size());
    for (int depth = 0; depth < m_chain.size(); ++depth)
        texts.append(indentStep.repeated(depth) + (depth == 0 ? m_chain[depth] : QDir(m_chain[depth]).dirName()));
    const QString childIndent = indentStep.repeated(m_chain.size());
    for (const QString& name : m_children)
        texts.append(childIndent + name);
    setTexts(texts);
    // The open folders are drawn open; a screen reader hears it ("games, open"), the subfolders by name.
    for (int depth = 0; depth < m_chain.size(); ++depth)
        setAccessibleText(depth, texts[depth].trimmed() + QStringLiteral(", open"));
    setCurrentRow(m_chain.size() - 1);
}
