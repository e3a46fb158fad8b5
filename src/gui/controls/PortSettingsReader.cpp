#include "controls/PortSettingsReader.h"

#include "controls/PortComboBox.h"

#include <QCheckBox>
#include <QLineEdit>

cart::PortSettings readPortSettings(const QLineEdit* toolPath, const PortComboBox* port, const QCheckBox* epp,
                                    const QLineEdit* waitStep)
{
    cart::PortSettings settings;
    settings.toolPath = toolPath->text();
    settings.port = port->portNumber();
    settings.epp = epp->isChecked();
    settings.waitStep = waitStep->text();
    return settings;
}

void fillEmptyWaitStep(QLineEdit* waitStep)
{
    if (waitStep->text().isEmpty())
        waitStep->setText(QString::number(0));
}
