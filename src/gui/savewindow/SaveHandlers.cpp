// The save window's start, its ways back to the main window, and its file choosers.
#include "cart/ToolCommands.h"
#include "controls/FileChooser.h"
#include "controls/FileFilter.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderReader.h"
#include "savewindow/SaveWindow.h"
#include "services/WindowServices.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString saveFilter = QStringLiteral("Saved Game Files (*.sav)|*.sav|All Files (*.*)|*.*");
const QString cartFilter = QStringLiteral("Gameboy Advance ROM (*.gba)|*.gba|All Files (*.*)|*.*");
} // namespace

void SaveWindow::connectHandlers()
{
    connect(m_backAction, &QAction::triggered, this, &SaveWindow::onBack);
    connect(m_exitAction, &QAction::triggered, this, &SaveWindow::onExit);
    connect(m_backToMainButton, &QPushButton::clicked, this, &SaveWindow::onBackAndClose);
    connect(m_toolBrowseButton, &QPushButton::clicked, this, &SaveWindow::onChooseTool);
    connect(m_saveBackupBrowseButton, &QPushButton::clicked, this, &SaveWindow::onChooseSaveBackupFile);
    connect(m_cartBackupBrowseButton, &QPushButton::clicked, this, &SaveWindow::onChooseCartBackupFile);
    connect(m_savedGameBrowseButton, &QPushButton::clicked, this, &SaveWindow::onChooseSavedGame);
}

void SaveWindow::takeMainToolPath(const QString& mainToolPath)
{
    // The current directory of this moment, which the file dialogs may have moved.
    const platform::StartFolder current = platform::startFolder();
    if (!current.path.isEmpty() && multirom::detectStartupFiles(current.path).contains(multirom::toolLookupName()))
        m_toolPath->setText(mainToolPath);
}

void SaveWindow::onBack()
{
    emit backRequested();
}

void SaveWindow::onExit()
{
    emit endProgramRequested();
}

void SaveWindow::onBackAndClose()
{
    emit backAndCloseRequested();
}

void SaveWindow::closeEvent(QCloseEvent* event)
{
    emit unloaded();
    event->accept();
}

void SaveWindow::chooseFileInto(QLineEdit* box, FileChooser::Kind kind, const QString& filter, const QString& title)
{
    box->setText(m_services.chooseFile(kind, this, filter, title, m_browserFolder));
}

void SaveWindow::onChooseTool()
{
    m_chooserMode->setText(QStringLiteral("1"));
    chooseFileInto(m_toolPath, FileChooser::Kind::Open, choosers::toolFileFilter, QStringLiteral("Select Orbick File"));
}

void SaveWindow::onChooseSaveBackupFile()
{
    m_chooserMode->setText(QStringLiteral("2"));
    chooseFileInto(m_saveBackupPath, FileChooser::Kind::Save, saveFilter, QStringLiteral("Enter Save Filename"));
}

void SaveWindow::onChooseCartBackupFile()
{
    m_chooserMode->setText(QStringLiteral("3"));
    chooseFileInto(m_cartBackupPath, FileChooser::Kind::Save, cartFilter, QStringLiteral("Select Backup File"));
}

void SaveWindow::onChooseSavedGame()
{
    m_chooserMode->setText(QStringLiteral("4"));
    chooseFileInto(m_savedGamePath, FileChooser::Kind::Open, saveFilter, QStringLiteral("Select Save File"));
}
