// "Compile multirom": the sequence is the core's; here the window's side of it.
#include "app/WindowServices.h"
#include "controls/ColourValue.h"
#include "controls/GameListBox.h"
#include "frmdialog/frmdialog.h"
#include "multirom/CompileSequence.h"
#include "multirom/PathRules.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmdialog::compilebtn_Click()
{
    multirom::CompileRequest request;
    request.loader = ldrtext->text();
    request.output = multitxt->text();
    request.games = listdialog->entries();
    request.toolPath = orbicklocation->text();
    request.browserFolder = browserFolder();

    const multirom::CompileOutcome outcome = multirom::compileMultirom(request, m_services.programRunner());
    for (const QString& message : outcome.messages)
        m_services.tell(this, message);
    switch (outcome.missing) {
    case multirom::CompileChoice::Output:
        colours::setTextColour(Label3, colours::red);
        break;
    case multirom::CompileChoice::Loader:
        colours::setTextColour(Label2, colours::red);
        colours::setTextColour(gotloader, colours::red);
        break;
    case multirom::CompileChoice::Tool:
        markToolPathMissing();
        break;
    case multirom::CompileChoice::Games:
    case multirom::CompileChoice::None:
        break;
    }
    if (outcome.filesTouched) {
        refreshBrowser();
        File_Exists(multirom::multiromProbePath(browserFolder()));
    }
    if (outcome.compiled)
        setPathsFrozen(true);
}

void frmdialog::markToolPathMissing()
{
    colours::setTextColour(Label4, colours::red);
    colours::setTextColour(gotorbick, colours::red);
}

void frmdialog::setPathsFrozen(bool frozen)
{
    const quint32 background = frozen ? colours::activeBorder : colours::windowBackground;
    for (QLineEdit* box : {orbicklocation, multitxt, ldrtext})
        colours::setBackgroundColour(box, background);
    for (QPushButton* browse : {Command2, ldrselect, orbickbtn})
        browse->setVisible(!frozen);
}
