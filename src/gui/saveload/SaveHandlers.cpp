// The save window's start, its ways back to the main window, and its file choosers.
#include "app/WindowServices.h"
#include "cart/ToolCommands.h"
#include "controls/FileChooser.h"
#include "controls/FileFilter.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderReader.h"
#include "saveload/saveload.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString saveFilter = QStringLiteral("Saved Game Files (*.sav)|*.sav|All Files (*.*)|*.*");
const QString cartFilter = QStringLiteral("Gameboy Advance ROM (*.gba)|*.gba|All Files (*.*)|*.*");
} // namespace

void saveload::connectHandlers()
{
    connect(back, &QAction::triggered, this, &saveload::back_Click);
    connect(exit, &QAction::triggered, this, &saveload::exit_Click);
    connect(Command3, &QPushButton::clicked, this, &saveload::Command3_Click);
    connect(orbickbtn, &QPushButton::clicked, this, &saveload::orbickbtn_Click);
    connect(Command2, &QPushButton::clicked, this, &saveload::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &saveload::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &saveload::Command1_Click);
}

void saveload::Form_Load(const QString& mainToolPath)
{
    // The current directory of this moment, which the file dialogs may have moved.
    const platform::StartFolder current = platform::startFolder();
    if (!current.path.isEmpty() && multirom::detectStartupFiles(current.path).contains(multirom::toolLookupName()))
        orbicklocation->setText(mainToolPath);
}

void saveload::back_Click()
{
    emit backRequested();
}

void saveload::exit_Click()
{
    emit endProgramRequested();
}

void saveload::Command3_Click()
{
    emit backAndCloseRequested();
}

void saveload::closeEvent(QCloseEvent* event)
{
    emit unloaded();
    event->accept();
}

QString saveload::OpenDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder)
{
    return FileChooser::putInto(m_services.chooseFile(FileChooser::Kind::Open, owner, filter, title, folder), Label20,
                                {{"1", orbicklocation}, {"4", restoretxt}});
}

QString saveload::SaveDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder)
{
    return FileChooser::putInto(m_services.chooseFile(FileChooser::Kind::Save, owner, filter, title, folder), Label20,
                                {{"2", outputxt}, {"3", cartname}});
}

void saveload::orbickbtn_Click()
{
    Label20->setText(QStringLiteral("1"));
    OpenDialog(this, choosers::toolFileFilter, QStringLiteral("Select Orbick File"), m_browserFolder);
}

void saveload::Command2_Click()
{
    Label20->setText(QStringLiteral("2"));
    SaveDialog(this, saveFilter, QStringLiteral("Enter Save Filename"), m_browserFolder);
}

void saveload::Command4_Click()
{
    Label20->setText(QStringLiteral("3"));
    SaveDialog(this, cartFilter, QStringLiteral("Select Backup File"), m_browserFolder);
}

void saveload::Command1_Click()
{
    Label20->setText(QStringLiteral("4"));
    OpenDialog(this, saveFilter, QStringLiteral("Select Save File"), m_browserFolder);
}
