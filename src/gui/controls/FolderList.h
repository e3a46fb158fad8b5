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
    static QString folderOf(const QListWidgetItem* item);

protected:
    void fill(const QString& folder, const platform::FolderListing& listing) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(const QListWidgetItem* entry);
};
