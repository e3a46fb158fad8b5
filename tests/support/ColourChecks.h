#pragma once

#include "controls/ColourValue.h"

#include <QPalette>
#include <QWidget>

// The colours a window set on its controls, read back where they were set: the text in the
// widget's foreground role, the background in the base of a text box or list.
namespace colours {

inline QColor textColour(const QWidget* widget)
{
    return widget->palette().color(widget->foregroundRole());
}

inline QColor backgroundColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Base);
}

} // namespace colours
