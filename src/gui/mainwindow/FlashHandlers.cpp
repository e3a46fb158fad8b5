// "Flash" and "Erase?" of the main window: the sequences are the core's.
#include "cart/CartOperations.h"
#include "controls/Announcer.h"
#include "controls/ColourValue.h"
#include "controls/PortSettingsReader.h"
#include "mainwindow/MainWindow.h"
#include "multirom/PathRules.h"
#include "services/WindowServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::onFlash()
{
    const cart::PortSettings port = readPortSettings(m_toolPath, m_portList, m_eppCheck, m_waitStep);
    const cart::ToolOutcome outcome =
        cart::flashMultirom(port, m_repairHeaderCheck->isChecked(), m_outputPath->text(), m_services.programRunner(),
                            [this] { fillEmptyWaitStep(m_waitStep); });
    m_services.tell(this, outcome.message);
    if (outcome.missing == cart::ToolChoice::File)
        colours::setTextColour(m_outputCaption, colours::red);
    else if (outcome.missing == cart::ToolChoice::Tool)
        markToolPathMissing();
    // Every flash that ran ends the frozen state, failed or not, so that another tool can be chosen.
    if (outcome.missing == cart::ToolChoice::None)
        setPathsFrozen(false);
}

void MainWindow::onErase()
{
    const cart::EraseOutcome outcome = cart::eraseMultirom(browserFolder());
    if (!outcome.message.isEmpty())
        m_services.tell(this, outcome.message);
    refreshBrowser();
    if (outcome.gone) {
        m_eraseButton->hide();
        m_multiromFound->hide();
        m_announcer->say(tr("%1 erased").arg(fileNameOf(multirom::multiromProbePath(browserFolder()))));
    } else {
        updateMultiromIndicator(multirom::multiromProbePath(browserFolder()));
    }
}
