// "Compile multirom": the sequence is the core's; here the window's side of it.
#include "controls/ColourValue.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "multirom/CompileSequence.h"
#include "multirom/PathRules.h"
#include "services/WindowServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::onCompile()
{
    multirom::CompileRequest request;
    request.loader = m_loaderPath->text();
    request.output = m_outputPath->text();
    request.games = m_gameList->entries();
    request.browserFolder = browserFolder();
    // The window asks for the tool too, after the compile's own choices and before anything is written.
    if (multirom::firstMissingChoice(request) == multirom::CompileChoice::None && m_toolPath->text().isEmpty()) {
        m_services.tell(this, multirom::toolMissingMessage);
        markToolPathMissing();
        return;
    }

    const multirom::CompileOutcome outcome = multirom::compileMultirom(request, m_services.programRunner());
    if (outcome.compiled)
        m_services.tell(this, QStringLiteral("Compiled to ") + request.output +
                                  QStringLiteral("\n\r\n\rpress Flash for fun!"));
    for (const QString& message : outcome.messages)
        m_services.tell(this, message);
    switch (outcome.missing) {
    case multirom::CompileChoice::Output:
        colours::setTextColour(m_outputCaption, colours::red);
        break;
    case multirom::CompileChoice::Loader:
        colours::setTextColour(m_loaderCaption, colours::red);
        colours::setTextColour(m_loaderFoundCaption, colours::red);
        break;
    case multirom::CompileChoice::Games:
    case multirom::CompileChoice::None:
        break;
    }
    if (outcome.filesTouched) {
        refreshBrowser();
        updateMultiromIndicator(multirom::multiromProbePath(browserFolder()));
    }
    if (outcome.compiled)
        setPathsFrozen(true);
}

void MainWindow::markToolPathMissing()
{
    colours::setTextColour(m_toolCaption, colours::red);
    colours::setTextColour(m_toolFoundCaption, colours::red);
}

void MainWindow::setPathsFrozen(bool frozen)
{
    const quint32 background = frozen ? colours::activeBorder : colours::windowBackground;
    for (QLineEdit* box : {m_toolPath, m_outputPath, m_loaderPath})
        colours::setBackgroundColour(box, background);
    for (QPushButton* browse : {m_outputBrowseButton, m_loaderBrowseButton, m_toolBrowseButton})
        browse->setVisible(!frozen);
}
