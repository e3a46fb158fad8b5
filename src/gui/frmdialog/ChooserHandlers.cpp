// The loader and tool choosers of the main window, its open dialog and the output folder it is given.
#include "app/WindowServices.h"
#include "cart/ToolCommands.h"
#include "controls/ColourValue.h"
#include "controls/FileChooser.h"
#include "controls/FileFilter.h"
#include "frmdialog/frmdialog.h"
#include "multirom/PathRules.h"

#include <QLabel>
#include <QLineEdit>

QString frmdialog::OpenDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder)
{
    return FileChooser::putInto(m_services.chooseFile(FileChooser::Kind::Open, owner, filter, title, folder), Label20,
                                {{"1", orbicklocation}, {"2", ldrtext}});
}

void frmdialog::ldrselect_Click()
{
    Label20->setText(QStringLiteral("2"));
    OpenDialog(this, QStringLiteral("Loader Files (*.bin)|*.bin|All Files (*.*)|*.*"),
               QStringLiteral("Select Loader File"), browserFolder());
    colours::setTextColour(Label2, colours::black);
    colours::setTextColour(gotloader, colours::black);
}

void frmdialog::orbickbtn_Click()
{
    Label20->setText(QStringLiteral("1"));
    OpenDialog(this, choosers::toolFileFilter, QStringLiteral("Select Orbick File"), browserFolder());
    colours::setTextColour(Label4, colours::black);
    colours::setTextColour(gotorbick, colours::black);
}

QString frmdialog::toolPath() const
{
    return orbicklocation->text();
}

void frmdialog::setOutputFolder(const QString& folder)
{
    multitxt->setText(multirom::composeOutputPath(folder));
    colours::setTextColour(Label3, colours::black);
}
