// Start-up of the main window and the multirom indicator.
#include "controls/Accessibility.h"
#include "controls/Announcer.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "mainwindow/MainWindow.h"
#include "multirom/PathRules.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::loadStartupFiles()
{
    const QString folder = browserFolder();
    // The constructor has just read the current directory; read it again only if it moved since.
    const platform::StartFolder current = platform::startFolder();
    QHash<QString, QString> finds;
    if (!current.path.isEmpty())
        finds = current.path == m_startupFolder ? m_startupFinds : multirom::detectStartupFiles(current.path);
    const multirom::StartupPaths paths = multirom::composeStartupPaths(finds, folder);
    if (!paths.loader.isEmpty()) {
        m_loaderPath->setText(paths.loader);
        m_loaderFoundCaption->show();
        m_loaderCaption->hide();
        accessibility::nameAfter(m_loaderFoundCaption, m_loaderPath);
    }
    if (!paths.tool.isEmpty()) {
        m_toolPath->setText(paths.tool);
        m_toolFoundCaption->show();
        m_toolCaption->hide();
        accessibility::nameAfter(m_toolFoundCaption, m_toolPath);
    }
    updateMultiromIndicator(multirom::multiromProbePath(folder));
    m_outputPath->setText(paths.output);
}

void MainWindow::updateMultiromIndicator(const QString& path)
{
    if (!platform::isOrdinaryFile(path)) {
        m_eraseButton->hide();
        m_multiromFound->hide();
        return;
    }
    const bool news = m_multiromFound->isHidden();
    m_eraseButton->show();
    m_multiromFound->setText(QStringLiteral("multi found in current directory!"));
    m_multiromFound->show();
    if (news)
        m_announcer->say(m_multiromFound->text()); // shown is not yet said
}

QString MainWindow::browserFolder() const
{
    return m_fileList->path();
}
