#pragma once

#include "platform/FolderReader.h"

#include "controls/ListBox.h"

// What the folder list and the file list of a browser share: the folder they show as their
// path, read again by refresh(). A folder that cannot be read is not shown: the list stays as
// it was and tells why through folderUnreadable.
class BrowseList : public ListBox {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)

public:
    explicit BrowseList(QWidget* parent = nullptr);

    QString path() const { return m_path; }

    // Shows the folder and raises pathChanged, as the user opening it does.
    void setPath(const QString& path);

    // Shows the folder without raising pathChanged: how the list starts out. A folder that
    // cannot be read is told through folderUnreadable unless quietly is set.
    bool showFolder(const QString& path, bool quietly = false);

    // The same with the folder already read, by query().
    void showListing(const QString& folder, const platform::FolderListing& listing);

    // What the list reads of a folder.
    virtual platform::FolderQuery query() const = 0;

    // Whether an entry's name, as listed, cannot be used: its bytes on disk are not valid text.
    bool isUnusable(const QString& name) const { return m_unusable.contains(name); }

public slots:
    // Reads the folder again; false when it can no longer be read.
    bool refresh();

signals:
    void pathChanged(const QString& path);
    void folderUnreadable(const QString& path, const QString& reason);

protected:
    virtual void fill(const QString& folder, const platform::FolderListing& listing) = 0;

    // The name on disk an entry stands for, where its text shows more (an indent); empty for
    // an entry that stands for no name of this folder.
    virtual QString entryName(int row) const { return item(row)->text(); }

    // Marks the entries whose names cannot be used, and tells why when pointed at.
    void markUnusable();

private:
    QString m_path;
    QSet<QString> m_unusable;
};
