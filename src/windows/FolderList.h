#pragma once

#include "platform/FolderReader.h"

#include <QListWidget>

// The folder list of a browser: the chain of folders from the root down to the
// current one, then its subfolders. A double-click or Enter opens a folder.
// A folder that cannot be read is not opened: the list stays where it was and
// tells why through folderUnreadable.
class FolderList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)

public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

    // Shows path without raising pathChanged: how the list starts out.
    bool showFolder(const QString& path);
    // The same with the folder already read (its folders sorted for display).
    void showListing(const QString& folder, const platform::FolderListing& listing);

    // The full path of the folder an entry stands for.
    static QString folderOf(const QListWidgetItem* item);

public slots:
    void refresh();

signals:
    void pathChanged(const QString& path);
    void folderUnreadable(const QString& path, const QString& reason);

private:
    bool load(const QString& path);

    QString m_path;
};

// A folder path as the browser writes it: absolute, native separators, and a
// trailing separator only at a root.
QString normalisedFolderPath(const QString& path);
