#pragma once

#include <QString>

class QLabel;
class QWidget;

// What a screen reader hears of the forms: every control that takes input has a name a person
// would say, windows are windows, option groups are groups, and drawn lines are separators.
namespace accessibility {

// What a widget of the forms is, beyond its Qt class.
enum class Kind {
    Window,       // one of Vellmore's own windows
    OptionGroup,  // a frame that holds one group of option buttons
    Decoration,   // a drawn line or border, nothing to read
    Dialog,       // a window that waits on something, such as the console
    Unread,       // shown for the eye only, such as the slot numbers the game list's rows also say
    Notification, // what a window says without showing it
};

// Marks widget as kind for assistive technology, with name where a name is given.
void mark(QWidget* widget, Kind kind, const QString& name = QString());

// Marks a window busy while something runs in it, or no longer, and tells assistive technology.
void markBusy(QWidget* window, bool busy);

// Makes label the one that names control, and no other label: the label's access key reaches the control, and the
// control's accessible name is the caption without its closing colon or dots.
void nameAfter(QLabel* label, QWidget* control);

// Names a control that the form gives no label: its accessible name, and on Linux, where Qt
// reads a combo box's text as its name, a hidden label tied to it that says the name.
void nameWithoutLabel(QWidget* control, const QString& name);

// A caption as a name is said: "Waitstep:" gives "Waitstep", "Select loader file..." gives
// "Select loader file".
QString spokenName(const QString& caption);

} // namespace accessibility
