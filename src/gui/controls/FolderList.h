#pragma once

#include "controls/BrowseList.h"

// The folder list of a browser: the chain of folders from the root down to the
// current one, then its subfolders. A double-click or Enter opens a folder.
class FolderList : public BrowseList {
    Q_OBJECT

public:
    explicit FolderList(QWidget* parent = nullptr);

    platform::FolderQuery query() const override;

    // The full path of the folder an entry stands for.
    QString folderOf(int row) const;

    // Whether an entry is one of the chain down to the current folder (drawn as an open folder).
    bool isInChain(int row) const { return row < m_chain.size(); }

protected:
    void fill(const QString& folder, const platform::FolderListing& listing) override;
    QString entryName(int row) const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(int row);

    // What the rows stand for: the chain first, then the subfolders of its last folder. Kept here
    // rather than in each entry: a folder of 100,000 subfolders is filled in one step.
    QStringList m_chain;
    QString m_childPrefix;
    QStringList m_children;
};
