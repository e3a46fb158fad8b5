// "Step 4: Backup", "Step 3: Restore" and "Step 3: Backup Cart": the sequences are the core's.
#include "cart/CartOperations.h"
#include "controls/PortSettingsReader.h"
#include "savewindow/SaveWindow.h"
#include "services/WindowServices.h"

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

void SaveWindow::connectOperations()
{
    connect(m_backupSaveButton, &QPushButton::clicked, this, &SaveWindow::onBackupSave);
    connect(m_restoreButton, &QPushButton::clicked, this, &SaveWindow::onRestoreSave);
    connect(m_backupCartButton, &QPushButton::clicked, this, &SaveWindow::onBackupCart);
}

void SaveWindow::showToolOutcome(const cart::ToolOutcome& outcome)
{
    m_services.tell(this, outcome.message);
}

cart::WaitStepFilled SaveWindow::showWaitStepFilled()
{
    return [this] { fillEmptyWaitStep(m_waitStep); };
}

void SaveWindow::onBackupSave()
{
    const cart::PortSettings port = readPortSettings(m_toolPath, m_portList, m_eppCheck, m_waitStep);
    showToolOutcome(cart::backupSave(port, selectedNumber({m_backupBank1, m_backupBank2, m_backupBank3, m_backupBank4}),
                                     selectedNumber({m_size32K, m_size64K, m_size128K, m_size256K}),
                                     selectedFigure({m_size32K, m_size64K, m_size128K, m_size256K}),
                                     m_saveBackupPath->text(), m_services.programRunner(), showWaitStepFilled()));
}

void SaveWindow::onRestoreSave()
{
    const cart::PortSettings port = readPortSettings(m_toolPath, m_portList, m_eppCheck, m_waitStep);
    showToolOutcome(cart::restoreSave(port,
                                      selectedNumber({m_restoreBank1, m_restoreBank2, m_restoreBank3, m_restoreBank4}),
                                      m_savedGamePath->text(), m_services.programRunner(), showWaitStepFilled()));
}

void SaveWindow::onBackupCart()
{
    const cart::PortSettings port = readPortSettings(m_toolPath, m_portList, m_eppCheck, m_waitStep);
    showToolOutcome(cart::backupCart(port,
                                     selectedFigure({m_chip8, m_chip16, m_chip32, m_chip64, m_chip128, m_chip256}),
                                     m_cartBackupPath->text(), m_services.programRunner(), showWaitStepFilled()));
}
