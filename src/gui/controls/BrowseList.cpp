#include "controls/BrowseList.h"

#include "controls/BrowseListModel.h"
#include "platform/FolderPath.h"

BrowseList::BrowseList(QWidget* parent) : FocusTellingList<QListView>(parent), m_rows(new BrowseListModel(this))
{
    setModel(m_rows);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int BrowseList::count() const
{
    return m_rows->rowCount();
}

QString BrowseList::text(int row) const
{
    return m_rows->texts().value(row);
}

const QStringList& BrowseList::texts() const
{
    return m_rows->texts();
}

int BrowseList::rowOf(const QString& text, Qt::MatchFlags flags) const
{
    if (count() == 0)
        return -1;
    const QModelIndexList found = m_rows->match(m_rows->index(0), Qt::DisplayRole, text, 1, flags);
    return found.isEmpty() ? -1 : found.first().row();
}

void BrowseList::setCurrentRow(int row)
{
    setCurrentIndex(m_rows->index(row));
}

void BrowseList::setCurrentRow(int row, QItemSelectionModel::SelectionFlags command)
{
    selectionModel()->setCurrentIndex(m_rows->index(row), command);
}

void BrowseList::setRowSelected(int row, bool selected)
{
    setCurrentRow(row, selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

QRect BrowseList::rowRect(int row) const
{
    return visualRect(m_rows->index(row));
}

void BrowseList::setTexts(const QStringList& texts)
{
    m_rows->setTexts(texts);
}

void BrowseList::setAccessibleText(int row, const QString& text)
{
    m_rows->setAccessibleText(row, text);
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
    QSet<int> rows;
    for (int row = 0; row < count(); ++row) {
        const QString name = entryName(row);
        if (!name.isEmpty() && isUnusable(name))
            rows.insert(row);
    }
    m_rows->setUnusableRows(rows);
}

bool BrowseList::refresh()
{
    return showFolder(m_path);
}
