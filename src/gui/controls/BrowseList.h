#pragma once

#include "platform/FolderReader.h"

#include "controls/FocusTellingList.h"

#include <QListView>

class BrowseListModel;

// What the folder list and the file list of a browser share: the folder they show as their
// path, read again by refresh(). A folder that cannot be read is not shown: the list stays as
// it was and tells why through folderUnreadable. Its rows are texts held by its model, set in
// one step.
class BrowseList : public FocusTellingList<QListView> {
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

    int count() const;
    // The text of a row as shown.
    QString text(int row) const;
    const QStringList& texts() const;
    // The first row whose text matches (Qt::MatchExactly, Qt::MatchEndsWith, ...); -1 for none.
    int rowOf(const QString& text, Qt::MatchFlags flags = Qt::MatchExactly) const;

    int currentRow() const { return currentIndex().row(); }
    // Makes row current and the one selected; -1: none.
    void setCurrentRow(int row);
    // Makes row current, changing the selection as command says (NoUpdate: not at all).
    void setCurrentRow(int row, QItemSelectionModel::SelectionFlags command);
    // Selects or deselects a row as Ctrl and a click do, making it current.
    void setRowSelected(int row, bool selected);
    QRect rowRect(int row) const;

public slots:
    // Reads the folder again; false when it can no longer be read.
    bool refresh();

signals:
    void pathChanged(const QString& path);
    void folderUnreadable(const QString& path, const QString& reason);

protected:
    virtual void fill(const QString& folder, const platform::FolderListing& listing) = 0;
    void setTexts(const QStringList& texts);
    void setAccessibleText(int row, const QString& text);

    // The name on disk an entry stands for, where its text shows more (an indent); empty for
    // an entry that stands for no name of this folder.
    virtual QString entryName(int row) const { return text(row); }

    // Marks the entries whose names cannot be used, and tells why when pointed at.
    void markUnusable();

private:
    BrowseListModel* m_rows;
    QString m_path;
    QSet<QString> m_unusable;
};
