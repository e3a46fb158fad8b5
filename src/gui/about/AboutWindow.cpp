#include "about/AboutWindow.h"

#include "controls/ColourValue.h"
#include "controls/FormBuilder.h"

#include <QLabel>
#include <QPushButton>

using namespace form;

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent, fixedDialogFlags() | Qt::Tool)
{
    // A tool window stays out of the task bar.
    plainWindow(this, "frmAbout", QStringLiteral("About Vellmore"), 3810, 2355);
    setFixedSize(size());
    setAttribute(Qt::WA_DeleteOnClose);
    // Always the same place on the screen: its client area 2340 twips from the left, 1935 from the top.
    setGeometry(QRect(QPoint(pixels(2340), pixels(1935)), size()));

    m_title = label(this, "lblTitle", QStringLiteral("Vellmore"), 120, 120, 1125, 240);
    QFont bold = windowFont();
    bold.setBold(true);
    m_title->setFont(bold);
    colours::setTextColour(m_title, colours::black);
    line(this, "Line1", 120, 360, 1800, 360, colours::windowText);
    m_author = label(this, "Label1", QStringLiteral("Author: ZR"), 120, 480, 975, 255);
    m_version = label(this, "lblVersion", QStringLiteral("Version: .9b9"), 120, 780, 3885, 225);
    m_description = label(this, "lblDescription",
                          QStringLiteral("A multi-purpose frontend for Perrowyn's DOS-based Flash Advance writing "
                                         "program Orbick"),
                          90, 1125, 3765, 570);
    m_description->setWordWrap(true);
    colours::setTextColour(m_description, colours::black);
    m_okButton = button(this, "cmdOK", QStringLiteral("OK"), 2400, 1920, 1260, 345);
    m_okButton->setDefault(true);
    fitCaptions(this);
    connect(m_okButton, &QPushButton::clicked, this, &AboutWindow::onOk);
}

void AboutWindow::onOk()
{
    close();
}
