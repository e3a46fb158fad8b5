// Start-up of the main window and the multirom indicator.
#include "controls/Accessibility.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "frmdialog/frmdialog.h"
#include "multirom/PathRules.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmdialog::Form_Load()
{
    const QString folder = browserFolder();
    // The constructor has just read the current directory; read it again only if it moved since.
    const platform::StartFolder current = platform::startFolder();
    QHash<QString, QString> finds;
    if (!current.path.isEmpty())
        finds = current.path == m_startupFolder ? m_startupFinds : multirom::detectStartupFiles(current.path);
    const multirom::StartupPaths paths = multirom::composeStartupPaths(finds, folder);
    if (!paths.loader.isEmpty()) {
        ldrtext->setText(paths.loader);
        gotloader->show();
        Label2->hide();
        accessibility::nameAfter(gotloader, ldrtext);
    }
    if (!paths.tool.isEmpty()) {
        orbicklocation->setText(paths.tool);
        gotorbick->show();
        Label4->hide();
        accessibility::nameAfter(gotorbick, orbicklocation);
    }
    File_Exists(multirom::multiromProbePath(folder));
    multitxt->setText(paths.output);
}

bool frmdialog::File_Exists(const QString& path)
{
    if (!platform::isOrdinaryFile(path)) {
        multierase->hide();
        multiexist->hide();
        return false;
    }
    const bool news = multiexist->isHidden();
    multierase->show();
    multiexist->setText(QStringLiteral("multi found in current directory!"));
    multiexist->show();
    if (news)
        accessibility::announceLabel(multiexist); // shown is not yet said: a screen reader hears a new name
    return true;
}

QString frmdialog::browserFolder() const
{
    return filedialog->path();
}
