#pragma once

#include <QString>

class QWidget;

// Vellmore's message box: the text, an OK button, no icon, the title "Vellmore".
// It is modal to parent and returns when the user has closed it.
void showMessage(QWidget* parent, const QString& text);

// The text as the box shows it: a CR, LF, CR LF or LF CR each makes one line break.
QString messageDisplayText(const QString& text);
