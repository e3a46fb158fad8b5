#include "folderselect/folderselect.h"
#include "app/WindowServices.h"

#include "controls/Accessibility.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>

using namespace form;

folderselect::folderselect(WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services)
{
    plainWindow(this, "folderselect", QStringLiteral("Select Output Folder"), 2895, 2835);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    accessibility::mark(Frame1, accessibility::Kind::Decoration);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(Frame1, 30, 105, 2835, 2190);
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(tr("Folders"));
    place(Dir1, 120, 315, 2655, 1890);
    Command1 = button(this, "Command1", QStringLiteral("Select"), 720, 2400, 1215, 375);
    setTabOrder(Dir1, Command1);
    fitCaptions(this);

    // The current directory of this moment; one that cannot be read gives way as the browser's does.
    const platform::StartFolder current = platform::startFolder();
    if (current.path.isEmpty() || !Dir1->showFolder(current.path, true)) {
        for (const QString& fallback : platform::fallbackFolders()) {
            if (Dir1->showFolder(fallback, true))
                break;
        }
    }

    connect(Dir1, &FolderList::folderUnreadable, this, [this](const QString& path, const QString& reason) {
        m_services.tell(this, platform::folderUnreadableMessage(path, reason));
    });
    connect(Command1, &QPushButton::clicked, this, &folderselect::Command1_Click);
}

void folderselect::Command1_Click()
{
    emit folderSelected(Dir1->path());
    hide(); // keeps its folder for the next time
}
