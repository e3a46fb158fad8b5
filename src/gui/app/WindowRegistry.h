#pragma once

#include "services/ProgramServices.h"

#include <QObject>
#include <QPointer>

class OutputFolderWindow;
class AboutWindow;
class MainWindow;
class SaveWindow;

// Vellmore's four windows: each exists at most once, is created on first use (its defaults,
// then its start-up files are loaded), is shown without an owner, and is hidden or closed as the menus and
// buttons say. A closed window is destroyed and starts from its defaults next time. Exactly
// one of the main and save windows is visible; "Exit" or closing the main window ends the program.
// It owns the services each window is handed: the program's own, or those it is given.
class WindowRegistry : public QObject {
    Q_OBJECT

public:
    explicit WindowRegistry(WindowServices* services = nullptr) : m_services(services ? *services : m_programServices)
    {
    }
    ~WindowRegistry() override;

    MainWindow* mainWindow();
    SaveWindow* saveWindow();
    OutputFolderWindow* folderWindow();
    AboutWindow* aboutWindow();

    // Creates the main window and shows it centred on the screen.
    void start();

public slots:
    void endProgram();
    void showAbout();
    void goToSaveWindow();         // "Go to save/load menu ->"
    void backToMainWindow();       // "&Back to main menu"
    void backAndCloseSaveWindow(); // "<- back to main menu"
    void showFolderWindow();

private:
    void saveWindowUnloaded();
    void hideAbout();

    ProgramServices m_programServices;
    WindowServices& m_services;
    QPointer<MainWindow> m_main;
    QPointer<SaveWindow> m_save;
    QPointer<OutputFolderWindow> m_folder;
    QPointer<AboutWindow> m_about;
};
