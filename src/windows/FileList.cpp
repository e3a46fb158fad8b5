#include "windows/FileList.h"

#include "platform/FolderReader.h"
#include "windows/FolderList.h"

#include <algorithm>
#include <strings.h>
#include <utility>
#include <vector>

void sortNamesForDisplay(QStringList& names)
{
    // Each name is folded once, not once per comparison.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(names.size()));
    for (QString& name : names)
        keyed.emplace_back(name.toCaseFolded(), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (int i = 0; i < names.size(); ++i)
        names[i] = std::move(keyed[size_t(i)].second);
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
    m_suffixes.clear();
    static const QRegularExpression plainExtension(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // "*.*" means every file, also one without a dot, as on Windows.
        const QString wildcard = part.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : part.trimmed();
        m_matchers.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                             QRegularExpression::CaseInsensitiveOption));
        m_suffixes.append(plainExtension.match(wildcard).hasMatch() ? wildcard.mid(1).toUtf8() : QByteArray());
    }
    if (m_suffixes.contains(QByteArray()))
        m_suffixes.clear();
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
    platform::RawNameFilter filter;
    if (!m_suffixes.isEmpty()) {
        filter = [this](const char* name, size_t length) {
            for (const QByteArray& suffix : m_suffixes) {
                if (length >= size_t(suffix.size()) &&
                    strncasecmp(name + length - size_t(suffix.size()), suffix.constData(), size_t(suffix.size())) == 0)
                    return true;
            }
            return false;
        };
    }
    platform::FolderListing listing = platform::readFolder(folder, platform::FolderParts::Files, filter);
    if (!listing.readable) {
        emit folderUnreadable(folder, listing.error);
        return false;
    }
    QStringList shown;
    if (filter) {
        shown = std::move(listing.files);
    } else {
        shown.reserve(listing.files.size());
        for (const QString& name : listing.files) {
            if (matches(name))
                shown.append(name);
        }
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
