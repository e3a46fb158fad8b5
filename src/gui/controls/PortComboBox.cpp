#include "controls/PortComboBox.h"

#include <QLineEdit>

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems({QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"), QStringLiteral("LPT4")});
    setCurrentIndex(-1);
    setEditText(QStringLiteral("LPT1"));
    lineEdit()->setTextMargins(0, 0, 0, 0);
    lineEdit()->setCursorPosition(0); // the box is narrow: show the start of the text
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) { m_listIndex = index; });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_listIndex = -1; });
}

void PortComboBox::pickEntry(int index)
{
    setCurrentIndex(index);
    m_listIndex = index;
}
