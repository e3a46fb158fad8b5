#include "windows/BrowseList.h"

#include <QDir>

QString normalisedFolderPath(const QString& path)
{
    QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
#ifdef Q_OS_WIN
    if (cleaned.size() == 2 && cleaned.endsWith(QLatin1Char(':')))
        cleaned += QLatin1Char('/');
#endif
    return QDir::toNativeSeparators(cleaned);
}

BrowseList::BrowseList(QWidget* parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
}

bool BrowseList::showFolder(const QString& path)
{
    const QString folder = normalisedFolderPath(path);
    const platform::FolderListing listing = platform::readFolder(folder, query());
    if (!listing.readable) {
        emit folderUnreadable(folder, listing.error);
        return false;
    }
    showListing(folder, listing);
    return true;
}

void BrowseList::showListing(const QString& folder, const platform::FolderListing& listing)
{
    setUpdatesEnabled(false);
    fill(folder, listing);
    setUpdatesEnabled(true);
    m_path = folder;
}

void BrowseList::setPath(const QString& path)
{
    if (showFolder(path))
        emit pathChanged(m_path);
}

void BrowseList::refresh()
{
    showFolder(m_path);
}
