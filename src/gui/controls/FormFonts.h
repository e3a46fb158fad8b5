#pragma once

#include <QFont>

namespace form {

QFont windowFont();  // the forms' default font
QFont browseFont();  // the "..." buttons
QFont headingFont(); // the save window's headings

} // namespace form
