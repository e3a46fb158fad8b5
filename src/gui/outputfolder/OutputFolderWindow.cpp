#include "outputfolder/OutputFolderWindow.h"
#include "services/WindowServices.h"

#include "controls/Accessibility.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "platform/FileSystem.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"

#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

using namespace form;

OutputFolderWindow::OutputFolderWindow(WindowServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services)
{
    plainWindow(this, "folderselect", QStringLiteral("Select Output Folder"), 2895, 2835);
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    accessibility::mark(m_frame, accessibility::Kind::Decoration);
    m_frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(m_frame, 30, 105, 2835, 2190);
    m_folderList = new FolderList(this);
    m_folderList->setObjectName(QStringLiteral("Dir1"));
    m_folderList->setAccessibleName(tr("Folders"));
    place(m_folderList, 120, 315, 2655, 1890);
    m_selectButton = button(this, "Command1", QStringLiteral("Select"), 720, 2400, 1215, 375);
    setTabOrder(m_folderList, m_selectButton);
    fitCaptions(this);

    // The current directory of this moment; one that cannot be read gives way as the browser's does.
    const platform::StartFolder current = platform::startFolder();
    if (current.path.isEmpty() || !m_folderList->showFolder(current.path, true)) {
        for (const QString& fallback : platform::fallbackFolders()) {
            if (m_folderList->showFolder(fallback, true))
                break;
        }
    }

    connect(m_folderList, &FolderList::folderUnreadable, this, [this](const QString& path, const QString& reason) {
        m_services.tell(this, platform::folderUnreadableMessage(path, reason));
    });
    connect(m_selectButton, &QPushButton::clicked, this, &OutputFolderWindow::onSelect);
}

void OutputFolderWindow::onSelect()
{
    emit folderSelected(m_folderList->path());
    hide(); // keeps its folder for the next time
}

void OutputFolderWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc closes it as its close box does: nothing is written.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
