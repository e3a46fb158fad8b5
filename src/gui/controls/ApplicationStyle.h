#pragma once

#include <QProxyStyle>

// The desktop's own style, with one thing put off: the icon of a menu bar's overflow button is
// read only when the button is drawn. Every menu bar asks for it as it is made, and reading it
// loads each image-format plugin installed to identify one small picture, which makes up a good
// part of the main window's start-up; the forms' two short menus never overflow.
class ApplicationStyle : public QProxyStyle {
    Q_OBJECT

public:
    ApplicationStyle() = default; // the desktop's style, or the one the user asked for (-style)

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
