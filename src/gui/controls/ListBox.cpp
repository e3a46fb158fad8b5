#include "controls/ListBox.h"

ListBox::ListBox(QWidget* parent) : FocusTellingList<QListWidget>(parent) {}
