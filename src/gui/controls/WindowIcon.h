#pragma once

#include <QIcon>

#include <QPixmap>

// The icon all of Vellmore's windows carry: a 32 by 32 flash cart, drawn here at each
// density a screen may have.
QIcon vellmoreIcon();

// The same cart drawn size pixels square, for the icons a desktop shows in its menus.
QPixmap drawVellmoreIcon(int size);
