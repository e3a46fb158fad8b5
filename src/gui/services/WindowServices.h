#pragma once

#include "controls/FileChooser.h"
#include "run/ProgramRunner.h"

#include <QString>

class QWidget;

// What a window asks of the world around it: to run a program and wait for it, to tell the user
// something, and to let the user choose a file. The window registry hands every window the
// program's own (ProgramServices); a test hands a recorder that answers and remembers, so that it
// can check the exact command line a window asked for.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Runs the command and returns once it has ended (ExecCmd).
    virtual run::RunOutcome runProgram(const run::CommandLine& command) = 0;

    // runProgram as the core's operations take a way to run a program.
    run::ProgramRunner programRunner()
    {
        return [this](const run::CommandLine& command) { return runProgram(command); };
    }

    // A message box: the text, OK, no icon, the title "Vellmore", modal to owner.
    virtual void tell(QWidget* owner, const QString& text) = 0;

    // An open or save dialog, modal to owner, starting in folder with the first filter pair
    // selected; the path as confirmed, empty when the user cancelled.
    virtual QString chooseFile(FileChooser::Kind kind, QWidget* owner, const QString& filter, const QString& title,
                               const QString& folder) = 0;
};
