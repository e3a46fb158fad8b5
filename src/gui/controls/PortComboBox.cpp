#include "controls/PortComboBox.h"

#include "controls/FormBuilder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent)
{
    setStyle(form::narrowControlStyle()); // "LPT1" whole beside the drop-down button
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems({QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"), QStringLiteral("LPT4")});
    setCurrentIndex(-1);
    setEditText(QStringLiteral("LPT1"));
    lineEdit()->setTextMargins(0, 0, 0, 0);
    lineEdit()->setCursorPosition(0); // the box is narrow: show the start of the text
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &PortComboBox::dropSelectionKeepingText);
}

void PortComboBox::dropSelectionKeepingText(const QString& text)
{
    if (currentIndex() < 0)
        return;
    const int cursor = lineEdit()->cursorPosition();
    const QSignalBlocker blocker(this);
    setCurrentIndex(-1);
    setEditText(text);
    lineEdit()->setCursorPosition(cursor);
}

bool PortComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // The combo box would take Enter as a pick of the entry whose text matches what was typed.
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && currentIndex() < 0)
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}
