#pragma once

#include <QWidget>

class WindowServices;

class FolderList;
class QFrame;
class QKeyEvent;
class QPushButton;

// The output folder window: a folder list starting at the current directory, and "Select",
// which hands the open folder to the main window as the place of the multirom.
class OutputFolderWindow : public QWidget {
    Q_OBJECT

public:
    explicit OutputFolderWindow(WindowServices& services, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    void folderSelected(const QString& folder);

private slots:
    void onSelect();

private:
    WindowServices& m_services;
    // The controls, each named as its objectName.
    QFrame* m_frame;
    FolderList* m_folderList;
    QPushButton* m_selectButton;
};
