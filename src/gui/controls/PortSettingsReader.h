#pragma once

#include "cart/ToolCommands.h"

class PortComboBox;
class QCheckBox;
class QLineEdit;

// Reads a window's tool path and port controls at the moment an operation runs.
cart::PortSettings readPortSettings(const QLineEdit* toolPath, const PortComboBox* port, const QCheckBox* epp,
                                    const QLineEdit* waitStep);

// An empty wait step becomes "0", visibly, before it goes into a command line.
void fillEmptyWaitStep(QLineEdit* waitStep);
