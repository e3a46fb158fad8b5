// Reading a folder on Windows, through Qt's own listing: the system hands out names as text.
#include "platform/FolderReader.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

FolderListing readFolder(const QString& folder, const FolderQuery& query)
{
    FolderListing listing;
    QDir dir(folder);
    const QFileInfo info(folder);
    if (!info.exists()) {
        listing.error = QStringLiteral("The system cannot find the path specified.");
        return listing;
    }
    if (!info.isDir()) {
        listing.error = QStringLiteral("The directory name is invalid.");
        return listing;
    }
    if (!dir.isReadable()) {
        listing.error = QStringLiteral("Access is denied.");
        return listing;
    }
    listing.readable = true;
    if (query.folders)
        listing.folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QByteArray raw = name.toUtf8();
        if (query.files && (!query.acceptFile || query.acceptFile(raw.constData(), size_t(raw.size()))))
            listing.files.append(name);
        for (const QString& want : query.findIgnoringCase) {
            if (name.compare(want, Qt::CaseInsensitive) == 0 && !listing.found.contains(want))
                listing.found.insert(want, name);
        }
    }
    finishListing(listing, query);
    return listing;
}

} // namespace platform
