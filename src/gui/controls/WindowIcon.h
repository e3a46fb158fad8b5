#pragma once

#include <QIcon>

// The icon all of Vellmore's windows carry: a 32 by 32 flash cart, drawn here.
QIcon vellmoreIcon();
