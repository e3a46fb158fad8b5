#include "windows/FolderList.h"

#include "platform/FolderReader.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int pathRole = Qt::UserRole;

// A small folder, drawn here: the style's own icons are read from image files, which
// start-up has no time for.
QIcon folderIcon(bool open)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(128, 128, 0));
    painter.setBrush(QColor(255, 255, 128));
    painter.drawRect(1, 2, 6, 2);
    painter.drawRect(1, 4, 13, 9);
    if (open) {
        painter.setBrush(QColor(255, 255, 192));
        const QPoint flap[] = {{1, 13}, {4, 7}, {15, 7}, {14, 13}};
        painter.drawPolygon(flap, 4);
    }
    return QIcon(pixmap);
}

} // namespace

QString normalisedFolderPath(const QString& path)
{
    QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
#ifdef Q_OS_WIN
    if (cleaned.size() == 2 && cleaned.endsWith(QLatin1Char(':')))
        cleaned += QLatin1Char('/');
#endif
    return QDir::toNativeSeparators(cleaned);
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { setPath(folderOf(item)); });
}

QString FolderList::folderOf(const QListWidgetItem* item)
{
    return item ? item->data(pathRole).toString() : QString();
}

bool FolderList::load(const QString& path)
{
    const QString folder = normalisedFolderPath(path);
    platform::FolderQuery query;
    query.folders = true;
    query.sortForDisplay = true;
    const platform::FolderListing listing = platform::readFolder(folder, query);
    if (!listing.readable) {
        emit folderUnreadable(folder, listing.error);
        return false;
    }
    showListing(folder, listing);
    return true;
}

void FolderList::showListing(const QString& folder, const platform::FolderListing& listing)
{

    // The chain from the root down: "/", "home", "user" for /home/user.
    QStringList chain;
    QString walk = folder;
    for (;;) {
        chain.prepend(walk);
        QDir up(walk);
        if (!up.cdUp())
            break;
        const QString parent = normalisedFolderPath(up.path());
        if (parent == walk)
            break;
        walk = parent;
    }

    static const QIcon openIcon = folderIcon(true);
    static const QIcon closedIcon = folderIcon(false);
    const QString indentStep = QStringLiteral("  ");
    setUpdatesEnabled(false);
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
    }
    setCurrentRow(chain.size() - 1);
    setUpdatesEnabled(true);
    m_path = folder;
}

bool FolderList::showFolder(const QString& path)
{
    return load(path);
}

void FolderList::setPath(const QString& path)
{
    if (load(path))
        emit pathChanged(m_path);
}

void FolderList::refresh()
{
    load(m_path);
}
