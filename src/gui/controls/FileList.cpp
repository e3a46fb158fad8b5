#include "controls/FileList.h"

#include <QByteArray>

namespace {

// "*.*" means every file, also one without a dot, as on Windows.
QStringList wildcardsOf(const QString& pattern)
{
    QStringList wildcards;
    for (const QString& part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        wildcards.append(part.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : part.trimmed());
    return wildcards;
}

} // namespace

FileList::FileList(QWidget* parent) : BrowseList(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setPattern(QStringLiteral("*.*"));
}

platform::RawNameFilter FileList::rawFilterFor(const QString& pattern)
{
    static const QRegularExpression plainExtension(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
    QList<QByteArray> suffixes;
    for (const QString& wildcard : wildcardsOf(pattern)) {
        if (!plainExtension.match(wildcard).hasMatch())
            return {};
        suffixes.append(wildcard.mid(1).toUtf8());
    }
    return [suffixes](const char* name, size_t length) {
        for (const QByteArray& suffix : suffixes) {
            const size_t size = size_t(suffix.size());
            if (length >= size && qstrnicmp(name + length - size, suffix.constData(), size) == 0)
                return true;
        }
        return false;
    };
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    m_matchers.clear();
    for (const QString& wildcard : wildcardsOf(pattern))
        m_matchers.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                             QRegularExpression::CaseInsensitiveOption));
    m_rawFilter = rawFilterFor(pattern);
    if (!path().isEmpty())
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

platform::FolderQuery FileList::query() const
{
    platform::FolderQuery query;
    query.files = true;
    query.acceptFile = m_rawFilter;
    query.sortForDisplay = true;
    return query;
}

void FileList::fill(const QString&, const platform::FolderListing& listing)
{
    QStringList shown;
    if (m_rawFilter) {
        shown = listing.files; // already filtered while the folder was read
    } else {
        shown.reserve(listing.files.size());
        for (const QString& name : listing.files) {
            if (matches(name))
                shown.append(name);
        }
    }
    setTexts(shown);
}
