#include "frmAbout/frmAbout.h"

#include "controls/ColourValue.h"
#include "controls/FormBuilder.h"

#include <QLabel>
#include <QPushButton>

using namespace form;

frmAbout::frmAbout(QWidget* parent) : QDialog(parent, fixedDialogFlags() | Qt::Tool)
{
    // A tool window stays out of the task bar.
    plainWindow(this, "frmAbout", QStringLiteral("About Vellmore"), 3810, 2355);
    setFixedSize(size());
    setAttribute(Qt::WA_DeleteOnClose);
    // Always the same place on the screen: its client area 2340 twips from the left, 1935 from the top.
    setGeometry(QRect(QPoint(pixels(2340), pixels(1935)), size()));

    lblTitle = label(this, "lblTitle", QStringLiteral("Vellmore"), 120, 120, 1125, 240);
    QFont bold = windowFont();
    bold.setBold(true);
    lblTitle->setFont(bold);
    colours::setTextColour(lblTitle, colours::black);
    Line1 = line(this, "Line1", 120, 360, 1800, 360, colours::windowText);
    Label1 = label(this, "Label1", QStringLiteral("Author: ZR"), 120, 480, 975, 255);
    lblVersion = label(this, "lblVersion", QStringLiteral("Version: .9b9"), 120, 780, 3885, 225);
    lblDescription = label(this, "lblDescription",
                           QStringLiteral("A multi-purpose frontend for Perrowyn's DOS-based Flash Advance writing "
                                          "program Orbick"),
                           90, 1125, 3765, 570);
    lblDescription->setWordWrap(true);
    colours::setTextColour(lblDescription, colours::black);
    cmdOK = button(this, "cmdOK", QStringLiteral("OK"), 2400, 1920, 1260, 345);
    cmdOK->setDefault(true);
    fitCaptions(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click()
{
    close();
}
