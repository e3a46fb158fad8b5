#pragma once

#include "controls/CaptionFitting.h"
#include "controls/FormFonts.h"

#include <QList>
#include <QString>
#include <Qt>
#include <QtGlobal>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStyle;
class QWidget;

// Places controls the way Vellmore's forms are laid out: positions and sizes in
// twips (15 to a pixel at 96 dpi), each control named after its form name.
namespace form {

// The window flags of a fixed dialog frame: title bar, system menu and close box, not resizable.
Qt::WindowFlags fixedDialogFlags();

// Sets up a form window: its name, caption, icon and font, the menu bar above and a client
// area of the given size in twips below, which it returns for the controls.
QWidget* clientArea(QWidget* window, const char* name, const QString& caption, QMenuBar* menuBar, int width,
                    int height);
// A form window without a menu bar: its name, caption, icon and font, and its client area of
// the given size in twips, which the window itself is.
void plainWindow(QWidget* window, const char* name, const QString& caption, int width, int height);
// The menu bar of a form, in the window as the form was drawn: never moved to a desktop's global
// menu (the window would lose the height it was drawn with), whose presence is then not even asked.
QMenuBar* menuBar(QWidget* window);
QMenu* menu(QMenuBar* bar, const char* name, const QString& caption);
QAction* menuItem(QMenu* menu, const char* name, const QString& caption);

int pixels(int twips);

// Tab visits the controls in the order given.
void tabOrder(const QList<QWidget*>& controls);
void place(QWidget* widget, int left, int top, int width, int height);

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height);
QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height,
                    const QString& toolTip = QString());
QPushButton* browseButton(QWidget* parent, const char* name, int left, int top, int width, int height);
QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, bool readOnly, int left, int top, int width,
                   int height);
QCheckBox* checkBox(QWidget* parent, const char* name, bool ticked, int left, int top, int width, int height);
QRadioButton* optionButton(QWidget* parent, const char* name, const QString& caption, bool selected, int left, int top,
                           int width, int height);

// A drawn line from (x1, y1) to (x2, y2), one pixel wide, in a colour value.
QFrame* line(QWidget* parent, const char* name, int x1, int y1, int x2, int y2, quint32 colour);

} // namespace form
