#include "controls/BrowseList.h"

#include "platform/FolderPath.h"

BrowseList::BrowseList(QWidget* parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
}

bool BrowseList::showFolder(const QString& path, bool quietly)
{
    const QString folder = platform::normalisedFolderPath(path);
    const platform::FolderListing listing = platform::readFolder(folder, query());
    if (!listing.readable) {
        if (!quietly)
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

bool BrowseList::refresh()
{
    return showFolder(m_path);
}
