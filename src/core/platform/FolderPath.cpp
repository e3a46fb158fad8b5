#include "platform/FolderPath.h"

#include <QDir>

namespace platform {

QString normalisedFolderPath(const QString& path)
{
    QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
#ifdef Q_OS_WIN
    if (cleaned.size() == 2 && cleaned.endsWith(QLatin1Char(':')))
        cleaned += QLatin1Char('/');
#endif
    return QDir::toNativeSeparators(cleaned);
}

QStringList folderChain(const QString& folder)
{
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
    return chain;
}

} // namespace platform
