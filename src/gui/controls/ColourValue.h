#pragma once

#include <QColor>
#include <QtGlobal>

class QWidget;

// Colours as Vellmore's windows name them: a 24-bit value with red in the lowest byte,
// or, with the top bit set, a system colour by its index in the lowest byte.
namespace colours {

constexpr quint32 black = 0;
constexpr quint32 red = 255;
constexpr quint32 white = 16777215;
constexpr quint32 midGrey = 8421504;
constexpr quint32 inactiveTitleBar = 0x80000003;
constexpr quint32 windowBackground = 0x80000005;
constexpr quint32 windowFrame = 0x80000006;
constexpr quint32 menuText = 0x80000007;
constexpr quint32 windowText = 0x80000008;
constexpr quint32 titleBarText = 0x80000009;
constexpr quint32 activeBorder = 0x8000000A;

// System colours come from the application's palette, so they follow the desktop theme.
QColor colourFromValue(quint32 value);

// Text colour: the widget's foreground role. Background: the base of a text box or list.
void setTextColour(QWidget* widget, quint32 value);
void setBackgroundColour(QWidget* widget, quint32 value);
QColor textColour(const QWidget* widget);
QColor backgroundColour(const QWidget* widget);

} // namespace colours
