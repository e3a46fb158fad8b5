// "Step 4: Backup", "Step 3: Restore" and "Step 3: Backup Cart": the sequences are the core's.
#include "app/WindowServices.h"
#include "cart/CartOperations.h"
#include "controls/PortSettingsReader.h"
#include "saveload/saveload.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The number of the selected button of a group, counted from 1; 0 when none is selected.
int selectedNumber(std::initializer_list<const QRadioButton*> group)
{
    int number = 1;
    for (const QRadioButton* button : group) {
        if (button->isChecked())
            return number;
        ++number;
    }
    return 0;
}

// The number a selected button's caption shows ("128K" gives 128), 0 when none is selected.
int selectedFigure(std::initializer_list<const QRadioButton*> group)
{
    for (const QRadioButton* button : group) {
        if (button->isChecked())
            return button->text().remove(QLatin1Char('K')).toInt();
    }
    return 0;
}

} // namespace

void saveload::connectOperations()
{
    connect(backupbtn, &QPushButton::clicked, this, &saveload::backupbtn_Click);
    connect(restore, &QPushButton::clicked, this, &saveload::restore_Click);
    connect(backupcart, &QPushButton::clicked, this, &saveload::backupcart_Click);
}

void saveload::showToolOutcome(const cart::ToolOutcome& outcome)
{
    m_services.tell(this, outcome.message);
}

cart::WaitStepFilled saveload::showWaitStepFilled()
{
    return [this] { fillEmptyWaitStep(waitstep); };
}

void saveload::backupbtn_Click()
{
    const cart::PortSettings port = readPortSettings(orbicklocation, sizelist, eppcheck, waitstep);
    showToolOutcome(cart::backupSave(port, selectedNumber({bank1, bank2, bank3, bank4}),
                                     selectedNumber({size1, size2, size3, size4}),
                                     selectedFigure({size1, size2, size3, size4}), outputxt->text(),
                                     m_services.programRunner(), showWaitStepFilled()));
}

void saveload::restore_Click()
{
    const cart::PortSettings port = readPortSettings(orbicklocation, sizelist, eppcheck, waitstep);
    showToolOutcome(cart::restoreSave(port, selectedNumber({rbank1, rbank2, rbank3, rbank4}), restoretxt->text(),
                                      m_services.programRunner(), showWaitStepFilled()));
}

void saveload::backupcart_Click()
{
    const cart::PortSettings port = readPortSettings(orbicklocation, sizelist, eppcheck, waitstep);
    showToolOutcome(cart::backupCart(port, selectedFigure({chip1, chip2, chip3, chip4, chip5, chip6}), cartname->text(),
                                     m_services.programRunner(), showWaitStepFilled()));
}
