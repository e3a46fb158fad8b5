#include "app/WindowRegistry.h"

#include "folderselect/folderselect.h"
#include "frmAbout/frmAbout.h"
#include "frmdialog/frmdialog.h"
#include "saveload/saveload.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>

namespace {

void centreOnScreen(QWidget* window)
{
    window->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

// Shows a window in front, with the keyboard's focus: one already open but covered comes forward.
void present(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

WindowRegistry::~WindowRegistry()
{
    // The program ends here: windows go without their unload handlers.
    delete m_about;
    delete m_folder;
    delete m_save;
    delete m_main;
}

frmdialog* WindowRegistry::mainWindow()
{
    if (!m_main) {
        m_main = new frmdialog(m_services);
        connect(m_main, &frmdialog::endProgramRequested, this, &WindowRegistry::endProgram);
        connect(m_main, &frmdialog::aboutRequested, this, &WindowRegistry::showAbout);
        connect(m_main, &frmdialog::saveWindowRequested, this, &WindowRegistry::goToSaveWindow);
        connect(m_main, &frmdialog::outputFolderWindowRequested, this, &WindowRegistry::showFolderWindow);
        m_main->Form_Load();
    }
    return m_main;
}

saveload* WindowRegistry::saveWindow()
{
    if (!m_save) {
        m_save = new saveload(m_services);
        connect(m_save, &saveload::endProgramRequested, this, &WindowRegistry::endProgram);
        connect(m_save, &saveload::backRequested, this, &WindowRegistry::backToMainWindow);
        connect(m_save, &saveload::backAndCloseRequested, this, &WindowRegistry::backAndCloseSaveWindow);
        connect(m_save, &saveload::unloaded, this, &WindowRegistry::saveWindowUnloaded);
        m_save->Form_Load(mainWindow()->toolPath());
        centreOnScreen(m_save);
    }
    return m_save;
}

folderselect* WindowRegistry::folderWindow()
{
    if (!m_folder) {
        m_folder = new folderselect(m_services);
        m_folder->setAttribute(Qt::WA_DeleteOnClose); // its close box: nothing written, afresh next time
        connect(m_folder, &folderselect::folderSelected, this,
                [this](const QString& folder) { mainWindow()->setOutputFolder(folder); });
    }
    return m_folder;
}

frmAbout* WindowRegistry::aboutWindow()
{
    if (!m_about)
        m_about = new frmAbout;
    return m_about;
}

void WindowRegistry::start()
{
    frmdialog* window = mainWindow();
    centreOnScreen(window);
    present(window);
    window->reportStartProblem();
}

void WindowRegistry::endProgram()
{
    // Nothing else runs: no handler, no question, nothing written.
    QCoreApplication::exit(0);
}

void WindowRegistry::showAbout()
{
    present(aboutWindow());
}

void WindowRegistry::hideAbout()
{
    if (m_about)
        m_about->hide();
}

void WindowRegistry::goToSaveWindow()
{
    saveload* save = saveWindow();
    save->setBrowserFolder(mainWindow()->browserFolder());
    present(save);
    mainWindow()->hide();
    hideAbout();
}

void WindowRegistry::backToMainWindow()
{
    present(mainWindow());
    if (m_save)
        m_save->hide();
    hideAbout();
}

void WindowRegistry::backAndCloseSaveWindow()
{
    present(mainWindow());
    if (m_save)
        m_save->close();
}

void WindowRegistry::saveWindowUnloaded()
{
    present(mainWindow());
    hideAbout();
}

void WindowRegistry::showFolderWindow()
{
    present(folderWindow());
}
