#pragma once

#include <QWidget>

class FolderList;
class QFrame;
class QPushButton;

// The output folder window: a folder list starting at the current directory, and "Select",
// which hands the open folder to the main window as the place of the multirom.
class folderselect : public QWidget {
    Q_OBJECT

public:
    explicit folderselect(QWidget* parent = nullptr);

    QFrame* Frame1;
    FolderList* Dir1;
    QPushButton* Command1;

signals:
    void folderSelected(const QString& folder);

public slots:
    void Command1_Click();
};
