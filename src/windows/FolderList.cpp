#include "windows/FolderList.h"

#include "platform/FolderReader.h"
#include "windows/FileList.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

namespace {
constexpr int pathRole = Qt::UserRole;
}

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
    platform::FolderListing listing = platform::readFolder(folder, platform::FolderParts::Folders);
    if (!listing.readable) {
        emit folderUnreadable(folder, listing.error);
        return false;
    }
    sortNamesForDisplay(listing.folders);

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

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
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
    return true;
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
