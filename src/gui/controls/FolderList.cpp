#include "controls/FolderList.h"

#include "platform/FolderPath.h"
#include "platform/FolderReader.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int pathRole = Qt::UserRole;

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

} // namespace

FolderList::FolderList(QWidget* parent) : BrowseList(parent)
{
    setIconSize(QSize(16, 16)); // in device-independent pixels; the icon has an image for each density
}

// A folder opens on a double-click or Enter only, whatever the desktop style does with a single click.
void FolderList::mouseDoubleClickEvent(QMouseEvent* event)
{
    BrowseList::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        if (QListWidgetItem* entry = itemAt(event->position().toPoint()))
            open(entry);
    }
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        open(currentItem());
        return;
    }
    BrowseList::keyPressEvent(event);
}

void FolderList::open(const QListWidgetItem* entry)
{
    const QVariant bare = entry->data(bareNameRole);
    if (bare.isValid() && isUnusable(bare.toString())) {
        emit folderUnreadable(folderOf(entry), tr("its name is not valid text, so Vellmore cannot open it"));
        return;
    }
    setPath(folderOf(entry));
}

QString FolderList::folderOf(const QListWidgetItem* item)
{
    return item ? item->data(pathRole).toString() : QString();
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
    const QStringList chain = platform::folderChain(folder);

    static const QIcon openIcon = folderIcon(true);
    static const QIcon closedIcon = folderIcon(false);
    const QString indentStep = QStringLiteral("  ");
    clear();
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString name = depth == 0 ? chain[depth] : QDir(chain[depth]).dirName();
        auto* item = new QListWidgetItem(openIcon, indentStep.repeated(depth) + name, this);
        item->setData(pathRole, chain[depth]);
    }
    const QString childIndent = indentStep.repeated(chain.size());
    const QString prefix = folder.endsWith(QDir::separator()) ? folder : folder + QDir::separator();
    for (const QString& name : listing.folders) {
        auto* item = new QListWidgetItem(closedIcon, childIndent + name, this);
        item->setData(pathRole, prefix + name);
        item->setData(bareNameRole, name);
    }
    setCurrentRow(chain.size() - 1);
}
