#pragma once

#include <QString>

class QStyle;
class QWidget;

namespace form {

// The style of the forms' narrow controls: option buttons whose circle fits their height, and
// port lists with a drop-down button as narrow as Windows draws it.
QStyle* narrowControlStyle();

// Whether a label's, button's or option's caption is drawn whole in the room its control
// gives the text (wrapped where the control wraps), an option's circle whole, every entry of a
// combo box whole beside its drop-down button, and a message box wide enough for its title;
// true for controls without a caption.
bool captionFits(const QWidget* control);

// How wide a window must be for the window manager to show the whole of title.
int titleRoomNeeded(const QString& title, bool toolWindow = false);

// The forms were drawn for a narrower face than the one a system may have: every caption of
// window that would be cut gets its font made smaller by quarter points, down to 7 points,
// until it is whole. Positions and sizes stay as drawn, but for a window without a menu bar drawn
// narrower than its title needs: it is widened, its controls moved to stay in the middle.
void fitCaptions(QWidget* window);

} // namespace form
