// The file browser pane: drive, folder and file lists that follow one another.
#include "app/WindowServices.h"
#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "frmdialog/frmdialog.h"
#include "multirom/PathRules.h"
#include "platform/FolderReader.h"

void frmdialog::drvdialog_Change()
{
    const QString before = dirdialog->path();
    dirdialog->setPath(drvdialog->drive());
    if (dirdialog->path() == before)
        drvdialog->showDriveOf(before); // the drive could not be read: show the one still browsed
}

void frmdialog::dirdialog_Change()
{
    filedialog->setPath(dirdialog->path());
    if (filedialog->path() != dirdialog->path()) {
        // The file list could not follow, and said so: keep all three lists on the folder it still shows.
        dirdialog->showFolder(filedialog->path(), true);
        return;
    }
    drvdialog->showDriveOf(dirdialog->path());
    File_Exists(multirom::multiromProbePath(filedialog->path()));
}

void frmdialog::filedialog_PathChange()
{
    setWindowTitle(QStringLiteral("Dialog Box - ") + filedialog->path());
}

void frmdialog::refreshBrowser()
{
    // Both lists show the browser's folder: one that has gone is told once, by the file list.
    if (filedialog->refresh())
        dirdialog->refresh();
    drvdialog->refresh();
}

void frmdialog::showFolderUnreadable(const QString& path, const QString& reason)
{
    m_services.tell(this, platform::folderUnreadableMessage(path, reason));
}
