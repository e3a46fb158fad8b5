// The file browser pane: drive, folder and file lists that follow one another.
#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "mainwindow/MainWindow.h"
#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "services/WindowServices.h"

void MainWindow::onDriveChanged()
{
    const QString before = m_folderList->path();
    m_folderList->setPath(m_driveList->drive());
    if (m_folderList->path() == before)
        m_driveList->showDriveOf(before); // the drive could not be read: show the one still browsed
}

void MainWindow::onFolderChanged()
{
    m_fileList->setPath(m_folderList->path());
    if (m_fileList->path() != m_folderList->path()) {
        // The file list could not follow, and said so: keep all three lists on the folder it still shows.
        m_folderList->showFolder(m_fileList->path(), true);
        return;
    }
    m_driveList->showDriveOf(m_folderList->path());
    updateMultiromIndicator(multirom::multiromProbePath(m_fileList->path()));
}

void MainWindow::onFileListPathChanged()
{
    setWindowTitle(QStringLiteral("Dialog Box - ") + m_fileList->path());
}

void MainWindow::refreshBrowser()
{
    // Both lists show the browser's folder: one that has gone is told once, by the file list.
    if (m_fileList->refresh())
        m_folderList->refresh();
    m_driveList->refresh();
}

void MainWindow::showFolderUnreadable(const QString& path, const QString& reason)
{
    m_services.tell(this, platform::folderUnreadableMessage(path, reason));
}
