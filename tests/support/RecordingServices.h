#pragma once

#include "services/ProgramServices.h"

#include <QList>
#include <QStringList>

#include <functional>

// What a file chooser was asked to show.
struct ChooserRequest {
    FileChooser::Kind kind;
    QString title;
    QString filter;
    QString folder;
};

// The services a test hands a window: every command line the window asked to run, every message
// and every chooser it asked for are remembered. A chooser answers with the next of the paths it
// was given, a program runs through runner; what the test gave no answer for goes to the
// program's own (the console runner, real message boxes and dialogs), so that a test runs end to
// end unless it says otherwise.
class RecordingServices : public WindowServices {
public:
    QList<run::CommandLine> commands;
    QStringList messages;
    QList<ChooserRequest> chooserRequests;
    QStringList chooserAnswers;                                     // taken from the front
    std::function<run::RunOutcome(const run::CommandLine&)> runner; // empty: the console runner
    bool showMessages = true;                                       // false: messages are remembered, no box opens

    run::RunOutcome runProgram(const run::CommandLine& command) override
    {
        commands.append(command);
        return runner ? runner(command) : m_program.runProgram(command);
    }

    void tell(QWidget* owner, const QString& text) override
    {
        messages.append(text);
        if (showMessages)
            m_program.tell(owner, text);
    }

    QString chooseFile(FileChooser::Kind kind, QWidget* owner, const QString& filter, const QString& title,
                       const QString& folder) override
    {
        chooserRequests.append({kind, title, filter, folder});
        if (!chooserAnswers.isEmpty())
            return chooserAnswers.takeFirst();
        return m_program.chooseFile(kind, owner, filter, title, folder);
    }

private:
    ProgramServices m_program;
};
