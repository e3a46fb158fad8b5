// "Flash" and "Erase?" of the main window: the sequences are the core's.
#include "app/WindowServices.h"
#include "cart/CartOperations.h"
#include "controls/ColourValue.h"
#include "controls/PortSettingsReader.h"
#include "frmdialog/frmdialog.h"
#include "multirom/PathRules.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmdialog::flashbtn_Click()
{
    const cart::PortSettings port = readPortSettings(orbicklocation, sizelist, eppcheck, waitstep);
    const cart::ToolOutcome outcome =
        cart::flashMultirom(port, header->isChecked(), multitxt->text(), m_services.programRunner(),
                            [this] { fillEmptyWaitStep(waitstep); });
    m_services.tell(this, outcome.message);
    if (outcome.missing == cart::ToolChoice::File)
        colours::setTextColour(Label3, colours::red);
    else if (outcome.missing == cart::ToolChoice::Tool)
        markToolPathMissing();
    // Every flash that ran ends the frozen state, failed or not, so that another tool can be chosen.
    if (outcome.missing == cart::ToolChoice::None)
        setPathsFrozen(false);
}

void frmdialog::multierase_Click()
{
    const cart::EraseOutcome outcome = cart::eraseMultirom(browserFolder());
    if (!outcome.message.isEmpty())
        m_services.tell(this, outcome.message);
    refreshBrowser();
    if (outcome.gone) {
        multierase->hide();
        multiexist->hide();
    } else {
        File_Exists(multirom::multiromProbePath(browserFolder()));
    }
}
