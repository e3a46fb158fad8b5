#pragma once

#include <QColor>
#include <QtGlobal>

class QWidget;

// Colours as Vellmore's windows name them: a 24-bit value with red in the lowest byte,
// or, with the top bit set, a system colour by its index in the lowest byte. System
// colours and black text come from the desktop's palette, so a dark desktop stays readable.
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

// What a value stands for where it is used: as the text of widget (black and system text
// colours are the palette's normal text of that kind of widget), as the background of a text
// box or list (the palette's base; the active border, a face, its button colour), or as a line.
QColor textColourFor(const QWidget* widget, quint32 value);
QColor backgroundColourFor(quint32 value);
QColor lineColourFor(quint32 value);

// Text colour: the widget's foreground role. Background: the base of a text box or list.
// A literal background keeps the box's text readable on it.
void setTextColour(QWidget* widget, quint32 value);
void setBackgroundColour(QWidget* widget, quint32 value);

// The contrast ratio of two colours as screen readers measure it: 1 (none) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

} // namespace colours
