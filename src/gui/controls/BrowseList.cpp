#include "controls/BrowseList.h"

#include "platform/FolderPath.h"

BrowseList::BrowseList(QWidget* parent) : ListBox(parent)
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
    m_unusable = listing.unusable;
    fill(folder, listing);
    if (!m_unusable.isEmpty())
        markUnusable();
    setUpdatesEnabled(true);
    m_path = folder;
}

void BrowseList::setPath(const QString& path)
{
    // Only a real change of folder counts: the folder already open is not read again.
    if (platform::normalisedFolderPath(path) == m_path)
        return;
    if (showFolder(path))
        emit pathChanged(m_path);
}

void BrowseList::markUnusable()
{
    for (int row = 0; row < count(); ++row) {
        const QString name = entryName(row);
        if (name.isEmpty() || !isUnusable(name))
            continue;
        QListWidgetItem* entry = item(row);
        QFont font = entry->font();
        font.setItalic(true);
        entry->setFont(font);
        entry->setToolTip(tr("This name is not valid text, so Vellmore cannot use it. Rename it to use it."));
    }
}

bool BrowseList::refresh()
{
    return showFolder(m_path);
}
