// The loader and tool choosers of the main window, its open dialog and the output folder it is given.
#include "cart/ToolCommands.h"
#include "controls/Announcer.h"
#include "controls/ColourValue.h"
#include "controls/FileChooser.h"
#include "controls/FileFilter.h"
#include "mainwindow/MainWindow.h"
#include "multirom/PathRules.h"
#include "services/WindowServices.h"

#include <QLabel>
#include <QLineEdit>

void MainWindow::chooseFileInto(QLineEdit* box, const QString& filter, const QString& title)
{
    box->setText(m_services.chooseFile(FileChooser::Kind::Open, this, filter, title, browserFolder()));
}

void MainWindow::onChooseLoader()
{
    m_chooserMode->setText(QStringLiteral("2"));
    chooseFileInto(m_loaderPath, QStringLiteral("Loader Files (*.bin)|*.bin|All Files (*.*)|*.*"),
                   QStringLiteral("Select Loader File"));
    colours::setTextColour(m_loaderCaption, colours::black);
    colours::setTextColour(m_loaderFoundCaption, colours::black);
}

void MainWindow::onChooseTool()
{
    m_chooserMode->setText(QStringLiteral("1"));
    chooseFileInto(m_toolPath, choosers::toolFileFilter, QStringLiteral("Select Orbick File"));
    colours::setTextColour(m_toolCaption, colours::black);
    colours::setTextColour(m_toolFoundCaption, colours::black);
}

QString MainWindow::toolPath() const
{
    return m_toolPath->text();
}

void MainWindow::setOutputFolder(const QString& folder)
{
    m_outputPath->setText(multirom::composeOutputPath(folder));
    colours::setTextColour(m_outputCaption, colours::black);
    m_announcer->say(tr("The multirom goes to %1").arg(m_outputPath->text()));
}
