#include "savewindow/SaveWindow.h"

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

SaveWindow::SaveWindow(WindowServices& services, QWidget* parent)
    : QWidget(parent, fixedDialogFlags()), m_services(services)
{
    m_menuBar = form::menuBar(this);
    m_clientArea =
        form::clientArea(this, "saveload", QStringLiteral("Backup Game / Restore Game"), m_menuBar, 6345, 6420);
    m_fileMenu = menu(m_menuBar, "file", QStringLiteral("&File"));
    m_backAction = menuItem(m_fileMenu, "back", QStringLiteral("&Back to main menu"));
    m_exitAction = menuItem(m_fileMenu, "exit", QStringLiteral("E&xit"));
    setAttribute(Qt::WA_DeleteOnClose); // a closed save window starts from its defaults next time

    createControls();
    connectHandlers();
    connectOperations();
    fitCaptions(this);
    layout()->activate(); // fixes the window's size now, not only when first shown
}

void SaveWindow::createControls()
{
    QWidget* c = m_clientArea;
    line(c, "Line3", 3120, 120, 3120, 5940, colours::inactiveTitleBar);
    line(c, "Line5", 120, 2520, 6240, 2520, colours::inactiveTitleBar);

    // Global Variables.
    m_settingsHeading = heading(c, "Label6", QStringLiteral("Global Variables"), 120, 0, 1575, 255);
    line(c, "Line4", 120, 240, 1620, 240, colours::windowText);
    m_toolCaption = label(c, "Label2", QStringLiteral("Orbick location:"), 120, 360, 2535, 495);
    m_toolPath = textBox(c, "orbicklocation", QString(), true, 120, 600, 2535, 285);
    m_toolBrowseButton = browseButton(c, "orbickbtn", 2760, 675, 255, 210);
    m_waitStepCaption = label(c, "Label5", QStringLiteral("Waitstep:"), 120, 1065, 855, 255);
    m_waitStep = textBox(c, "waitstep", QStringLiteral("0"), false, 1080, 1035, 465, 285);
    m_eppCaption = label(c, "Label18", QStringLiteral("Use EPP:"), 120, 1470, 735, 255);
    m_eppCheck = checkBox(c, "eppcheck", true, 1080, 1440, 255, 255);
    m_portCaption = label(c, "Label13", QStringLiteral("LPT Port:"), 120, 1845, 855, 255);
    m_portList = new PortComboBox(c);
    m_portList->setObjectName(QStringLiteral("sizelist"));
    place(m_portList, 1080, 1800, 735, 315);

    // Backup Cart.
    m_cartBackupHeading = heading(c, "Label11", QStringLiteral("Backup Cart"), 3360, 0, 1695, 255);
    line(c, "Line7", 3360, 240, 4860, 240, colours::windowText);
    m_cartBackupFileCaption = label(c, "Label12", QStringLiteral("Step 1: Select output file"), 3360, 360, 2535, 495);
    m_cartBackupPath = textBox(c, "cartname", QString(), true, 3360, 600, 2535, 285);
    colours::setTextColour(m_cartBackupPath, colours::menuText);
    m_cartBackupBrowseButton = browseButton(c, "Command4", 6000, 675, 255, 210);
    m_chipSizeCaption = label(c, "Label14", QStringLiteral("Step 2: Select chip size"), 3360, 1005, 1935, 255);
    m_chipSizeGroup = groupFrame(c, "Frame4", tr("Chip size"), 3720, 1200, 1890, 675);
    m_chip8 = optionButton(m_chipSizeGroup, "chip1", QStringLiteral("8"), false, 45, 150, 375, 195);
    m_chip16 = optionButton(m_chipSizeGroup, "chip2", QStringLiteral("16"), false, 45, 390, 495, 195);
    m_chip32 = optionButton(m_chipSizeGroup, "chip3", QStringLiteral("32"), true, 600, 120, 735, 255);
    m_chip64 = optionButton(m_chipSizeGroup, "chip4", QStringLiteral("64"), false, 600, 390, 495, 195);
    m_chip128 = optionButton(m_chipSizeGroup, "chip5", QStringLiteral("128"), false, 1200, 150, 615, 195);
    m_chip256 = optionButton(m_chipSizeGroup, "chip6", QStringLiteral("256"), false, 1200, 390, 615, 195);
    for (QRadioButton* chip : {m_chip8, m_chip16, m_chip32, m_chip64, m_chip128, m_chip256})
        chip->setAccessibleName(chip->text() + tr(" Mbit"));
    m_backupCartButton = button(c, "backupcart", QStringLiteral("Step 3: Backup Cart"), 3360, 2040, 2535, 375);

    // Backup Save.
    m_saveBackupHeading = heading(c, "Label1", QStringLiteral("Backup Save"), 120, 2640, 1455, 375);
    line(c, "Line2", 120, 2880, 1620, 2880, colours::windowText);
    m_backupBankCaption =
        wrappingLabel(c, "Label4", QStringLiteral("Step 1: Select bank to backup"), 360, 3120, 855, 615);
    m_backupBankGroup = groupFrame(c, "Frame1", tr("Bank to back up"), 480, 3720, 615, 1140);
    m_backupBank1 = optionButton(m_backupBankGroup, "bank1", QStringLiteral("1"), true, 120, 120, 375, 255);
    m_backupBank2 = optionButton(m_backupBankGroup, "bank2", QStringLiteral("2"), false, 120, 360, 375, 255);
    m_backupBank3 = optionButton(m_backupBankGroup, "bank3", QStringLiteral("3"), false, 120, 600, 375, 255);
    m_backupBank4 = optionButton(m_backupBankGroup, "bank4", QStringLiteral("4"), false, 120, 840, 375, 255);
    for (QRadioButton* bank : {m_backupBank1, m_backupBank2, m_backupBank3, m_backupBank4})
        bank->setAccessibleName(tr("bank ") + bank->text());
    line(c, "Line1", 1395, 3000, 1395, 4920, colours::inactiveTitleBar);
    m_saveSizeCaption =
        wrappingLabel(c, "Label9", QStringLiteral("Step 2: Select size to backup"), 1680, 3120, 855, 615);
    m_saveSizeGroup = groupFrame(c, "Frame2", tr("Size to back up"), 1680, 3720, 975, 1140);
    m_size32K = optionButton(m_saveSizeGroup, "size1", QStringLiteral("32K"), true, 120, 120, 615, 255);
    m_size64K = optionButton(m_saveSizeGroup, "size2", QStringLiteral("64K"), false, 120, 360, 615, 255);
    m_size128K = optionButton(m_saveSizeGroup, "size3", QStringLiteral("128K"), false, 120, 600, 735, 255);
    m_size256K = optionButton(m_saveSizeGroup, "size4", QStringLiteral("256K"), false, 120, 840, 735, 255);
    m_saveBackupFileCaption = label(c, "Label3", QStringLiteral("Step 3: Select output file"), 120, 5025, 2415, 255);
    colours::setTextColour(m_saveBackupFileCaption, colours::black);
    m_saveBackupPath = textBox(c, "outputxt", QString(), true, 120, 5265, 2535, 285);
    colours::setTextColour(m_saveBackupPath, colours::menuText);
    m_saveBackupBrowseButton = browseButton(c, "Command2", 2760, 5340, 255, 210);
    m_backupSaveButton = button(c, "backupbtn", QStringLiteral("Step 4: Backup"), 120, 5640, 2535, 375);

    // Restore Save.
    m_restoreHeading = heading(c, "Label7", QStringLiteral("Restore Save"), 3360, 2640, 1455, 375);
    line(c, "Line6", 3360, 2880, 4860, 2880, colours::windowText);
    m_savedGameCaption = label(c, "Label10", QStringLiteral("Step 1: Select saved game"), 3360, 3000, 2415, 255);
    colours::setTextColour(m_savedGameCaption, colours::black);
    m_savedGamePath = textBox(c, "restoretxt", QString(), true, 3360, 3240, 2535, 285);
    colours::setTextColour(m_savedGamePath, colours::menuText);
    m_savedGameBrowseButton = browseButton(c, "Command1", 6000, 3315, 255, 210);
    m_restoreBankCaption =
        wrappingLabel(c, "Label8", QStringLiteral("Step 2: Select bank to restore to"), 4200, 3705, 855, 615);
    m_restoreBankGroup = groupFrame(c, "Frame3", tr("Bank to restore to"), 4320, 4305, 615, 1140);
    m_restoreBank1 = optionButton(m_restoreBankGroup, "rbank1", QStringLiteral("1"), true, 120, 120, 375, 255);
    m_restoreBank2 = optionButton(m_restoreBankGroup, "rbank2", QStringLiteral("2"), false, 120, 360, 375, 255);
    m_restoreBank3 = optionButton(m_restoreBankGroup, "rbank3", QStringLiteral("3"), false, 120, 600, 375, 255);
    m_restoreBank4 = optionButton(m_restoreBankGroup, "rbank4", QStringLiteral("4"), false, 120, 840, 375, 255);
    for (QRadioButton* bank : {m_restoreBank1, m_restoreBank2, m_restoreBank3, m_restoreBank4})
        bank->setAccessibleName(tr("bank ") + bank->text());
    m_restoreButton = button(c, "restore", QStringLiteral("Step 3: Restore"), 3360, 5640, 2535, 375);

    m_backToMainButton = button(c, "Command3", QStringLiteral("<- back to main menu"), 4500, 6150, 1815, 255);
    m_chooserMode = label(c, "Label20", QStringLiteral("0"), 2400, 6120, 375, 255);
    m_chooserMode->hide();

    // What a screen reader says of each control that takes input.
    using accessibility::nameAfter;
    nameAfter(m_toolCaption, m_toolPath);
    nameAfter(m_waitStepCaption, m_waitStep);
    nameAfter(m_eppCaption, m_eppCheck);
    nameAfter(m_portCaption, m_portList);
    nameAfter(m_cartBackupFileCaption, m_cartBackupPath);
    nameAfter(m_saveBackupFileCaption, m_saveBackupPath);
    nameAfter(m_savedGameCaption, m_savedGamePath);
    // The same captions stand in two steps: the box says which step it belongs to.
    m_cartBackupPath->setAccessibleName(tr("Backup Cart, step 1: select output file"));
    m_saveBackupPath->setAccessibleName(tr("Backup Save, step 3: select output file"));
    m_toolBrowseButton->setAccessibleName(tr("Choose the tool"));
    m_cartBackupBrowseButton->setAccessibleName(tr("Choose the cart backup file"));
    m_saveBackupBrowseButton->setAccessibleName(tr("Choose the save backup file"));
    m_savedGameBrowseButton->setAccessibleName(tr("Choose the saved game"));

    form::tabOrder({m_toolPath,
                    m_toolBrowseButton,
                    m_waitStep,
                    m_backupBank1,
                    m_backupBank2,
                    m_backupBank3,
                    m_backupBank4,
                    m_size32K,
                    m_size64K,
                    m_size128K,
                    m_size256K,
                    m_saveBackupBrowseButton,
                    m_backupSaveButton,
                    m_savedGameBrowseButton,
                    m_restoreBank1,
                    m_restoreBank2,
                    m_restoreBank3,
                    m_restoreBank4,
                    m_restoreButton,
                    m_saveBackupPath,
                    m_savedGamePath,
                    m_backToMainButton,
                    m_cartBackupPath,
                    m_cartBackupBrowseButton,
                    m_chip8,
                    m_chip16,
                    m_chip32,
                    m_chip64,
                    m_chip128,
                    m_chip256,
                    m_eppCheck,
                    m_portList,
                    m_backupCartButton});
}
