#pragma once

#include "services/WindowServices.h"

// The services as the program gives them: the console runner, Vellmore's message box and its
// file choosers.
class ProgramServices : public WindowServices {
public:
    run::RunOutcome runProgram(const run::CommandLine& command) override;
    void tell(QWidget* owner, const QString& text) override;
    QString chooseFile(FileChooser::Kind kind, QWidget* owner, const QString& filter, const QString& title,
                       const QString& folder) override;
};
