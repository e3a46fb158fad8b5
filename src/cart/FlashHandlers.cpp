// "Flash" and "Erase?" of the main window.
#include "cart/PortSettingsReader.h"
#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "platform/ProcessRunner.h"
#include "windows/ColourValue.h"
#include "windows/MessageBox.h"
#include "windows/frmdialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cerrno>

void frmdialog::flashbtn_Click()
{
    if (multitxt->text().isEmpty()) {
        showMessage(this, QStringLiteral("you have to select the multi.gba to flash"));
        colours::setTextColour(Label3, colours::red);
        return;
    }
    if (toolPathMissing())
        return;
    cart::fillEmptyWaitStep(waitstep);
    const cart::PortSettings port = cart::readPortSettings(orbicklocation, sizelist, eppcheck, waitstep);
    const platform::CommandLine command = cart::flashCommand(port, header->isChecked(), multitxt->text());

    const platform::RunOutcome outcome = platform::ExecCmd(command);
    if (outcome.kind == platform::RunOutcome::Kind::NotStarted) {
        showMessage(this, QStringLiteral("could not start ") + port.toolPath);
        return;
    }
    if (!outcome.succeeded()) {
        // The window stays as it was, so the same multirom can be flashed again.
        showMessage(this, QStringLiteral("flash failed: ") + outcome.describe());
        return;
    }
    showMessage(this, QStringLiteral("Flashed!"));
    setPathsFrozen(false);
}

void frmdialog::multierase_Click()
{
    const QString path = multirom::multiromProbePath(browserFolder());
    int failure = 0;
    const bool deleted = platform::deleteFile(path, &failure) || failure == ENOENT;
    if (!deleted)
        showMessage(this, QStringLiteral("cannot delete ") + path + QStringLiteral(": ") +
                              platform::systemErrorText(failure));
    refreshBrowser();
    if (deleted) {
        multierase->hide();
        multiexist->hide();
    } else {
        File_Exists(path);
    }
}
