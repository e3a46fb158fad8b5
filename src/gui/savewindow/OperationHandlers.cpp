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

// The chip sizes of the options, in their order.
constexpr int chipSizes[] = {8, 16, 32, 64, 128, 256};

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
    // One option of a group is always chosen; 32K stands for none.
    const int size = selectedNumber({m_size32K, m_size64K, m_size128K, m_size256K});
    showToolOutcome(cart::backupSave(port, selectedNumber({m_backupBank1, m_backupBank2, m_backupBank3, m_backupBank4}),
                                     size == 0 ? cart::SaveSize::K32 : cart::SaveSize(size), m_saveBackupPath->text(),
                                     m_services.programRunner(), showWaitStepFilled()));
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
    showToolOutcome(cart::backupCart(
        port, chipSizes[qMax(0, selectedNumber({m_chip8, m_chip16, m_chip32, m_chip64, m_chip128, m_chip256}) - 1)],
        m_cartBackupPath->text(), m_services.programRunner(), showWaitStepFilled()));
}
