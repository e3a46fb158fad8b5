#include "saveload/saveload.h"

#include "controls/Accessibility.h"
#include "controls/ColourValue.h"
#include "controls/FormBuilder.h"
#include "controls/PortComboBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

using namespace form;

namespace {

QLabel* heading(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    QLabel* widget = label(parent, name, caption, left, top, width, height);
    widget->setFont(headingFont());
    return widget;
}

QLabel* wrappingLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                      int height)
{
    QLabel* widget = label(parent, name, caption, left, top, width, height);
    widget->setWordWrap(true);
    return widget;
}

// A frame without caption that only groups its option buttons into one exclusive group; what
// the group chooses is its name for a screen reader.
QFrame* groupFrame(QWidget* parent, const char* name, const QString& chooses, int left, int top, int width, int height)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    accessibility::mark(frame, accessibility::Kind::OptionGroup, chooses);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(frame, left, top, width, height);
    return frame;
}

} // namespace

saveload::saveload(WindowServices& services, QWidget* parent)
    : QWidget(parent, fixedDialogFlags()), m_services(services)
{
    menuBar = new QMenuBar(this);
    clientArea = form::clientArea(this, "saveload", QStringLiteral("Backup Game / Restore Game"), menuBar, 6345, 6420);
    file = menu(menuBar, "file", QStringLiteral("&File"));
    back = menuItem(file, "back", QStringLiteral("&Back to main menu"));
    exit = menuItem(file, "exit", QStringLiteral("E&xit"));
    setAttribute(Qt::WA_DeleteOnClose); // a closed save window starts from its defaults next time

    createControls();
    connectHandlers();
    connectOperations();
    fitCaptions(this);
    layout()->activate(); // fixes the window's size now, not only when first shown
}

void saveload::createControls()
{
    QWidget* c = clientArea;
    Line3 = line(c, "Line3", 3120, 120, 3120, 5940, colours::inactiveTitleBar);
    Line5 = line(c, "Line5", 120, 2520, 6240, 2520, colours::inactiveTitleBar);

    // Global Variables.
    Label6 = heading(c, "Label6", QStringLiteral("Global Variables"), 120, 0, 1575, 255);
    Line4 = line(c, "Line4", 120, 240, 1620, 240, colours::windowText);
    Label2 = label(c, "Label2", QStringLiteral("Orbick location:"), 120, 360, 2535, 495);
    orbicklocation = textBox(c, "orbicklocation", QString(), true, 120, 600, 2535, 285);
    orbickbtn = browseButton(c, "orbickbtn", 2760, 675, 255, 210);
    Label5 = label(c, "Label5", QStringLiteral("Waitstep:"), 120, 1065, 855, 255);
    waitstep = textBox(c, "waitstep", QStringLiteral("0"), false, 1080, 1035, 465, 285);
    Label18 = label(c, "Label18", QStringLiteral("Use EPP:"), 120, 1470, 735, 255);
    eppcheck = checkBox(c, "eppcheck", true, 1080, 1440, 255, 255);
    Label13 = label(c, "Label13", QStringLiteral("LPT Port:"), 120, 1845, 855, 255);
    sizelist = new PortComboBox(c);
    sizelist->setObjectName(QStringLiteral("sizelist"));
    place(sizelist, 1080, 1800, 735, 315);

    // Backup Cart.
    Label11 = heading(c, "Label11", QStringLiteral("Backup Cart"), 3360, 0, 1695, 255);
    Line7 = line(c, "Line7", 3360, 240, 4860, 240, colours::windowText);
    Label12 = label(c, "Label12", QStringLiteral("Step 1: Select output file"), 3360, 360, 2535, 495);
    cartname = textBox(c, "cartname", QString(), true, 3360, 600, 2535, 285);
    colours::setTextColour(cartname, colours::menuText);
    Command4 = browseButton(c, "Command4", 6000, 675, 255, 210);
    Label14 = label(c, "Label14", QStringLiteral("Step 2: Select chip size"), 3360, 1005, 1935, 255);
    Frame4 = groupFrame(c, "Frame4", tr("Chip size"), 3720, 1200, 1890, 675);
    chip1 = optionButton(Frame4, "chip1", QStringLiteral("8"), false, 45, 150, 375, 195);
    chip2 = optionButton(Frame4, "chip2", QStringLiteral("16"), false, 45, 390, 495, 195);
    chip3 = optionButton(Frame4, "chip3", QStringLiteral("32"), true, 600, 120, 735, 255);
    chip4 = optionButton(Frame4, "chip4", QStringLiteral("64"), false, 600, 390, 495, 195);
    chip5 = optionButton(Frame4, "chip5", QStringLiteral("128"), false, 1200, 150, 615, 195);
    chip6 = optionButton(Frame4, "chip6", QStringLiteral("256"), false, 1200, 390, 615, 195);
    for (QRadioButton* chip : {chip1, chip2, chip3, chip4, chip5, chip6})
        chip->setAccessibleName(chip->text() + tr(" Mbit"));
    backupcart = button(c, "backupcart", QStringLiteral("Step 3: Backup Cart"), 3360, 2040, 2535, 375);

    // Backup Save.
    Label1 = heading(c, "Label1", QStringLiteral("Backup Save"), 120, 2640, 1455, 375);
    Line2 = line(c, "Line2", 120, 2880, 1620, 2880, colours::windowText);
    Label4 = wrappingLabel(c, "Label4", QStringLiteral("Step 1: Select bank to backup"), 360, 3120, 855, 615);
    Frame1 = groupFrame(c, "Frame1", tr("Bank to back up"), 480, 3720, 615, 1140);
    bank1 = optionButton(Frame1, "bank1", QStringLiteral("1"), true, 120, 120, 375, 255);
    bank2 = optionButton(Frame1, "bank2", QStringLiteral("2"), false, 120, 360, 375, 255);
    bank3 = optionButton(Frame1, "bank3", QStringLiteral("3"), false, 120, 600, 375, 255);
    bank4 = optionButton(Frame1, "bank4", QStringLiteral("4"), false, 120, 840, 375, 255);
    for (QRadioButton* bank : {bank1, bank2, bank3, bank4})
        bank->setAccessibleName(tr("bank ") + bank->text());
    Line1 = line(c, "Line1", 1395, 3000, 1395, 4920, colours::inactiveTitleBar);
    Label9 = wrappingLabel(c, "Label9", QStringLiteral("Step 2: Select size to backup"), 1680, 3120, 855, 615);
    Frame2 = groupFrame(c, "Frame2", tr("Size to back up"), 1680, 3720, 975, 1140);
    size1 = optionButton(Frame2, "size1", QStringLiteral("32K"), true, 120, 120, 615, 255);
    size2 = optionButton(Frame2, "size2", QStringLiteral("64K"), false, 120, 360, 615, 255);
    size3 = optionButton(Frame2, "size3", QStringLiteral("128K"), false, 120, 600, 735, 255);
    size4 = optionButton(Frame2, "size4", QStringLiteral("256K"), false, 120, 840, 735, 255);
    Label3 = label(c, "Label3", QStringLiteral("Step 3: Select output file"), 120, 5025, 2415, 255);
    colours::setTextColour(Label3, colours::black);
    outputxt = textBox(c, "outputxt", QString(), true, 120, 5265, 2535, 285);
    colours::setTextColour(outputxt, colours::menuText);
    Command2 = browseButton(c, "Command2", 2760, 5340, 255, 210);
    backupbtn = button(c, "backupbtn", QStringLiteral("Step 4: Backup"), 120, 5640, 2535, 375);

    // Restore Save.
    Label7 = heading(c, "Label7", QStringLiteral("Restore Save"), 3360, 2640, 1455, 375);
    Line6 = line(c, "Line6", 3360, 2880, 4860, 2880, colours::windowText);
    Label10 = label(c, "Label10", QStringLiteral("Step 1: Select saved game"), 3360, 3000, 2415, 255);
    colours::setTextColour(Label10, colours::black);
    restoretxt = textBox(c, "restoretxt", QString(), true, 3360, 3240, 2535, 285);
    colours::setTextColour(restoretxt, colours::menuText);
    Command1 = browseButton(c, "Command1", 6000, 3315, 255, 210);
    Label8 = wrappingLabel(c, "Label8", QStringLiteral("Step 2: Select bank to restore to"), 4200, 3705, 855, 615);
    Frame3 = groupFrame(c, "Frame3", tr("Bank to restore to"), 4320, 4305, 615, 1140);
    rbank1 = optionButton(Frame3, "rbank1", QStringLiteral("1"), true, 120, 120, 375, 255);
    rbank2 = optionButton(Frame3, "rbank2", QStringLiteral("2"), false, 120, 360, 375, 255);
    rbank3 = optionButton(Frame3, "rbank3", QStringLiteral("3"), false, 120, 600, 375, 255);
    rbank4 = optionButton(Frame3, "rbank4", QStringLiteral("4"), false, 120, 840, 375, 255);
    for (QRadioButton* bank : {rbank1, rbank2, rbank3, rbank4})
        bank->setAccessibleName(tr("bank ") + bank->text());
    restore = button(c, "restore", QStringLiteral("Step 3: Restore"), 3360, 5640, 2535, 375);

    Command3 = button(c, "Command3", QStringLiteral("<- back to main menu"), 4500, 6150, 1815, 255);
    Label20 = label(c, "Label20", QStringLiteral("0"), 2400, 6120, 375, 255);
    Label20->hide();

    // What a screen reader says of each control that takes input.
    using accessibility::nameAfter;
    nameAfter(Label2, orbicklocation);
    nameAfter(Label5, waitstep);
    nameAfter(Label18, eppcheck);
    nameAfter(Label13, sizelist);
    nameAfter(Label12, cartname);
    nameAfter(Label3, outputxt);
    nameAfter(Label10, restoretxt);
    // The same captions stand in two steps: the box says which step it belongs to.
    cartname->setAccessibleName(tr("Backup Cart, step 1: select output file"));
    outputxt->setAccessibleName(tr("Backup Save, step 3: select output file"));
    orbickbtn->setAccessibleName(tr("Choose the tool"));
    Command4->setAccessibleName(tr("Choose the cart backup file"));
    Command2->setAccessibleName(tr("Choose the save backup file"));
    Command1->setAccessibleName(tr("Choose the saved game"));

    form::tabOrder({orbicklocation, orbickbtn, waitstep,   bank1,     bank2,    bank3,     bank4,  size1,  size2,
                    size3,          size4,     Command2,   backupbtn, Command1, rbank1,    rbank2, rbank3, rbank4,
                    restore,        outputxt,  restoretxt, Command3,  cartname, Command4,  chip1,  chip2,  chip3,
                    chip4,          chip5,     chip6,      eppcheck,  sizelist, backupcart});
}
