#include "app/WindowRegistry.h"

#include "about/AboutWindow.h"
#include "controls/ApplicationStyle.h"
#include "mainwindow/MainWindow.h"
#include "outputfolder/OutputFolderWindow.h"
#include "savewindow/SaveWindow.h"

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

MainWindow* WindowRegistry::mainWindow()
{
    if (!m_main) {
        m_main = new MainWindow(m_services);
        connect(m_main, &MainWindow::endProgramRequested, this, &WindowRegistry::endProgram);
        connect(m_main, &MainWindow::aboutRequested, this, &WindowRegistry::showAbout);
        connect(m_main, &MainWindow::saveWindowRequested, this, &WindowRegistry::goToSaveWindow);
        connect(m_main, &MainWindow::outputFolderWindowRequested, this, &WindowRegistry::showFolderWindow);
        m_main->loadStartupFiles();
    }
    return m_main;
}

SaveWindow* WindowRegistry::saveWindow()
{
    if (!m_save) {
        m_save = new SaveWindow(m_services);
        connect(m_save, &SaveWindow::endProgramRequested, this, &WindowRegistry::endProgram);
        connect(m_save, &SaveWindow::backRequested, this, &WindowRegistry::backToMainWindow);
        connect(m_save, &SaveWindow::backAndCloseRequested, this, &WindowRegistry::backAndCloseSaveWindow);
        connect(m_save, &SaveWindow::unloaded, this, &WindowRegistry::saveWindowUnloaded);
        m_save->takeMainToolPath(mainWindow()->toolPath());
        centreOnScreen(m_save);
    }
    return m_save;
}

OutputFolderWindow* WindowRegistry::folderWindow()
{
    if (!m_folder) {
        m_folder = new OutputFolderWindow(m_services);
        m_folder->setAttribute(Qt::WA_DeleteOnClose); // its close box: nothing written, afresh next time
        connect(m_folder, &OutputFolderWindow::folderSelected, this,
                [this](const QString& folder) { mainWindow()->setOutputFolder(folder); });
    }
    return m_folder;
}

AboutWindow* WindowRegistry::aboutWindow()
{
    if (!m_about)
        m_about = new AboutWindow;
    return m_about;
}

void WindowRegistry::start()
{
    // Once: setting the style again would draw every window anew.
    static const bool styled = (QApplication::setStyle(new ApplicationStyle), true);
    Q_UNUSED(styled)
    MainWindow* window = mainWindow();
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
    SaveWindow* save = saveWindow();
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
