#include "controls/ColourValue.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include <cmath>

namespace colours {

namespace {

bool isSystemColour(quint32 value)
{
    return (value & 0x80000000u) != 0;
}

QColor literal(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor desktop(QPalette::ColorRole role)
{
    return QApplication::palette().color(QPalette::Active, role);
}

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

} // namespace

QColor textColourFor(const QWidget* widget, quint32 value)
{
    if (isSystemColour(value) || value == black)
        return desktop(widget->foregroundRole());
    return literal(value);
}

QColor backgroundColourFor(quint32 value)
{
    if (!isSystemColour(value))
        return literal(value);
    return desktop((value & 0xFFu) == 10 ? QPalette::Button : QPalette::Base);
}

QColor lineColourFor(quint32 value)
{
    if (!isSystemColour(value))
        return literal(value);
    switch (value & 0xFFu) {
    case 3:
        return desktop(QPalette::Mid); // inactive title bar
    case 6:
        return desktop(QPalette::Shadow); // window frame
    default:
        return desktop(QPalette::WindowText);
    }
}

void setTextColour(QWidget* widget, quint32 value)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), textColourFor(widget, value));
    widget->setPalette(palette);
}

void setBackgroundColour(QWidget* widget, quint32 value)
{
    QPalette palette = widget->palette();
    const QColor background = backgroundColourFor(value);
    palette.setColor(QPalette::Base, background);
    if (!isSystemColour(value)) {
        // A colour the form fixes, such as white, whatever the desktop's text colour is.
        const QColor text = desktop(QPalette::Text);
        if (contrastRatio(text, background) < 4.5)
            palette.setColor(QPalette::Text,
                             contrastRatio(Qt::black, background) >= contrastRatio(Qt::white, background)
                                 ? QColor(Qt::black)
                                 : QColor(Qt::white));
    }
    widget->setPalette(palette);
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace colours
