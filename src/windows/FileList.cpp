#include "windows/FileList.h"

#include "platform/FolderReader.h"
#include "windows/FolderList.h"

#include <algorithm>

void sortNamesForDisplay(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

FileList::FileList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setPattern(QStringLiteral("*.*"));
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    m_matchers.clear();
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // "*.*" means every file, also one without a dot, as on Windows.
        const QString wildcard = part.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : part.trimmed();
        m_matchers.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                             QRegularExpression::CaseInsensitiveOption));
    }
    if (!m_path.isEmpty())
        refresh();
}

bool FileList::matches(const QString& name) const
{
    for (const QRegularExpression& matcher : m_matchers) {
        if (matcher.match(name).hasMatch())
            return true;
    }
    return false;
}

bool FileList::load(const QString& path)
{
    const QString folder = normalisedFolderPath(path);
    platform::FolderListing listing = platform::readFolder(folder, platform::FolderParts::Files);
    if (!listing.readable) {
        emit folderUnreadable(folder, listing.error);
        return false;
    }
    QStringList shown;
    shown.reserve(listing.files.size());
    for (const QString& name : listing.files) {
        if (matches(name))
            shown.append(name);
    }
    sortNamesForDisplay(shown);
    setUpdatesEnabled(false);
    clear();
    addItems(shown);
    setUpdatesEnabled(true);
    m_path = folder;
    return true;
}

bool FileList::showFolder(const QString& path)
{
    return load(path);
}

void FileList::setPath(const QString& path)
{
    if (load(path))
        emit pathChanged(m_path);
}

void FileList::refresh()
{
    load(m_path);
}
