#include "controls/ColourValue.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace colours {

namespace {

QPalette::ColorRole systemRole(quint32 index)
{
    switch (index) {
    case 3:
        return QPalette::Mid; // inactive title bar
    case 5:
        return QPalette::Base; // window background: the inside of a text box
    case 6:
        return QPalette::Shadow; // window frame
    case 7:
        return QPalette::Text; // menu text
    case 9:
        return QPalette::HighlightedText; // title-bar text
    case 10:
        return QPalette::Button; // active window border
    default:
        return QPalette::WindowText;
    }
}

} // namespace

QColor colourFromValue(quint32 value)
{
    if (value & 0x80000000u)
        return QApplication::palette().color(QPalette::Active, systemRole(value & 0xFFu));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void setTextColour(QWidget* widget, quint32 value)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), colourFromValue(value));
    widget->setPalette(palette);
}

void setBackgroundColour(QWidget* widget, quint32 value)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colourFromValue(value));
    widget->setPalette(palette);
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(widget->foregroundRole());
}

QColor backgroundColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Base);
}

} // namespace colours
