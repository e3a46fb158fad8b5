#include "app/WindowRegistry.h"

#include "frmdialog/frmdialog.h"

#include <QApplication>
#include <QScreen>

WindowRegistry::~WindowRegistry()
{
    delete m_main;
}

frmdialog* WindowRegistry::mainWindow()
{
    if (!m_main) {
        m_main = new frmdialog;
        connect(m_main, &frmdialog::endProgramRequested, this, &WindowRegistry::endProgram);
        m_main->Form_Load();
    }
    return m_main;
}

void WindowRegistry::start()
{
    frmdialog* window = mainWindow();
    window->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    window->reportStartProblem();
}

void WindowRegistry::endProgram()
{
    QCoreApplication::exit(0);
}
