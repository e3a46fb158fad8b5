#pragma once

#include <QWidget>

class WindowServices;

class FolderList;
class QFrame;
class QPushButton;

// The output folder window: a folder list starting at the current directory, and "Select",
// which hands the open folder to the main window as the place of the multirom.
class folderselect : public QWidget {
    Q_OBJECT

public:
    explicit folderselect(WindowServices& services, QWidget* parent = nullptr);

signals:
    void folderSelected(const QString& folder);

public slots:
    void Command1_Click();

private:
    WindowServices& m_services;
    // The controls, each named as its objectName.
    QFrame* Frame1;
    FolderList* Dir1;
    QPushButton* Command1;
};
