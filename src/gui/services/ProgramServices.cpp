#include "services/ProgramServices.h"

#include "controls/MessageBox.h"
#include "runner/ProcessRunner.h"

run::RunOutcome ProgramServices::runProgram(const run::CommandLine& command)
{
    return runner::ExecCmd(command);
}

void ProgramServices::tell(QWidget* owner, const QString& text)
{
    showMessage(owner, text);
}

QString ProgramServices::chooseFile(FileChooser::Kind kind, QWidget* owner, const QString& filter, const QString& title,
                                    const QString& folder)
{
    return FileChooser::choose(kind, owner, filter, title, folder);
}
