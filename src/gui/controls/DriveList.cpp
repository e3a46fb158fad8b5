#include "controls/DriveList.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    fill();
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        // Choosing the drive already shown changes nothing.
        if (index >= 0 && index < m_roots.size() && m_roots[index] != m_drive)
            setDrive(m_roots[index]);
    });
}

QStringList DriveList::systemRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        roots.append(QDir::toNativeSeparators(drive.absolutePath()));
#else
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots.append(volume.rootPath());
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    roots.removeAll(QStringLiteral("/"));
    roots.prepend(QStringLiteral("/"));
#endif
    return roots;
}

void DriveList::fill()
{
    m_roots = systemRoots();
    const QSignalBlocker blocker(this);
    clear();
    addItems(m_roots);
    setCurrentIndex(m_roots.indexOf(m_drive));
}

QString DriveList::rootOf(const QString& path) const
{
    // The longest root that path lies in: a mount point below "/" wins over "/".
    const Qt::CaseSensitivity cs = platform::fileNameCaseSensitivity();
    QString best;
    for (const QString& root : m_roots) {
        const bool endsInSeparator = root.endsWith(QLatin1Char('/')) || root.endsWith(QLatin1Char('\\'));
        const bool inside =
            path.compare(root, cs) == 0 || path.startsWith(endsInSeparator ? root : root + platform::separator(), cs);
        if (inside && root.size() > best.size())
            best = root;
    }
    return best.isEmpty() && !m_roots.isEmpty() ? m_roots.first() : best;
}

void DriveList::showDriveOf(const QString& path)
{
    m_drive = rootOf(path);
    const QSignalBlocker blocker(this);
    setCurrentIndex(m_roots.indexOf(m_drive));
}

void DriveList::setDrive(const QString& path)
{
    showDriveOf(path);
    emit driveChanged(m_drive);
}

void DriveList::refresh()
{
    fill();
}
