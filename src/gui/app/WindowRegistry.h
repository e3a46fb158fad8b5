#pragma once

#include <QObject>
#include <QPointer>

class frmdialog;

// Vellmore's windows: each exists at most once, is created on first use and is
// shown without an owner. Closing the main window or "Exit" ends the program.
class WindowRegistry : public QObject {
    Q_OBJECT

public:
    WindowRegistry() = default;
    ~WindowRegistry() override;

    // The main window, created with its defaults and its start-up on first use.
    frmdialog* mainWindow();

    // Creates the main window and shows it centred on the screen.
    void start();

public slots:
    void endProgram();

private:
    QPointer<frmdialog> m_main;
};
