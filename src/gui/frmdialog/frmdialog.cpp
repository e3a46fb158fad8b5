#include "frmdialog/frmdialog.h"
#include "app/WindowServices.h"

#include "controls/Accessibility.h"
#include "controls/ColourValue.h"
#include "controls/DriveList.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/FormBuilder.h"
#include "controls/GameListBox.h"
#include "controls/PortComboBox.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderPath.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

#include <future>
#include <utility>

using namespace form;

namespace {
const QString gamePattern = QStringLiteral("*.gba");
}

frmdialog::frmdialog(WindowServices& services, QWidget* parent)
    : QWidget(parent, fixedDialogFlags()), m_services(services)
{
    // The start folder is read once, on a worker, while the fonts are loaded and the controls
    // made: a folder of thousands of files then adds next to nothing to start-up. The same
    // read gives the folder list, the file list and what start-up detection looks for.
    const platform::StartFolder start = platform::startFolder();
    m_startupFolder = start.path;
    if (!start.problem.isEmpty())
        m_startProblem = start.problem;
    platform::FolderQuery startQuery;
    startQuery.folders = true;
    startQuery.files = true;
    startQuery.acceptFile = FileList::rawFilterFor(gamePattern);
    startQuery.findIgnoringCase = multirom::startupFileNames();
    startQuery.sortForDisplay = true;
    const QString startFolder = start.path;
    std::future<platform::FolderListing> startScan = std::async(std::launch::async, [startFolder, startQuery] {
        return startFolder.isEmpty() ? platform::FolderListing() : platform::readFolder(startFolder, startQuery);
    });

    menuBar = new QMenuBar(this);
    clientArea = form::clientArea(this, "frmdialog", QStringLiteral("Vellmore"), menuBar, 7485, 6420);
    file = menu(menuBar, "file", QStringLiteral("&File"));
    exit = menuItem(file, "exit", QStringLiteral("E&xit"));
    help = menu(menuBar, "help", QStringLiteral("&Help"));
    about = menuItem(help, "about", QStringLiteral("&About"));

    createControls();
    platform::FolderListing startListing = startScan.get();
    QString browseFrom = startFolder;
    if (!startListing.readable) {
        // An unknown browser folder would turn every composed path into one at the root:
        // start in the home folder instead, and say why once the window shows.
        if (m_startProblem.isEmpty())
            m_startProblem = startFolder + QStringLiteral(": ") + startListing.error;
        for (const QString& fallback : platform::fallbackFolders()) {
            browseFrom = fallback;
            startListing = platform::readFolder(browseFrom, startQuery);
            if (startListing.readable)
                break;
        }
        startListing.found.clear(); // start-up looks for the loader and the tool in the start folder only
        m_startupFolder.clear();
    }
    drvdialog->showDriveOf(browseFrom);
    dirdialog->showListing(browseFrom, startListing);
    filedialog->showListing(browseFrom, startListing);
    m_startupFinds = startListing.found;
    connectHandlers();
    fitCaptions(this);
    layout()->activate(); // fixes the window's size now, not only when first shown
}

void frmdialog::createControls()
{
    QWidget* c = clientArea;

    // Lines first, so that the labels lying across them are drawn on top.
    Line5 = line(c, "Line5", 3075, 0, 3075, 3420, colours::midGrey);
    Line7 = line(c, "Line7", 7320, 0, 3075, 0, colours::midGrey);
    Line8 = line(c, "Line8", 7320, 0, 7320, 3420, colours::midGrey);
    Line6 = line(c, "Line6", 7320, 3405, 3075, 3405, colours::midGrey);
    Line1 = line(c, "Line1", 3285, 2250, 7125, 2250, colours::windowFrame);
    Line2 = line(c, "Line2", 3285, 2250, 3285, 3210, colours::windowText);
    Line4 = line(c, "Line4", 7125, 2250, 7125, 3210, colours::windowText);
    Line3 = line(c, "Line3", 3300, 3195, 7140, 3195, colours::windowText);

    // File browser. The three lists start at the current directory without raising
    // their change handlers: the caption keeps "Vellmore" until the user browses.
    drvdialog = new DriveList(c);
    drvdialog->setObjectName(QStringLiteral("drvdialog"));
    place(drvdialog, 120, 120, 2655, 315);

    dirdialog = new FolderList(c);
    dirdialog->setObjectName(QStringLiteral("dirdialog"));
    place(dirdialog, 120, 480, 2655, 1665);
    colours::setBackgroundColour(dirdialog, colours::titleBarText);
    colours::setTextColour(dirdialog, colours::menuText);

    multiexist = label(c, "multiexist", QString(), 120, 2400, 2895, 255);
    QFont bold = windowFont();
    bold.setBold(true);
    multiexist->setFont(bold);
    colours::setTextColour(multiexist, colours::red);
    multiexist->hide();
    multierase = button(c, "multierase", QStringLiteral("Erase?"), 840, 2760, 975, 375);
    multierase->hide();

    Label1 = label(c, "Label1", QStringLiteral("Select files to add:"), 0, 3600, 1695, 255);
    filedialog = new FileList(c);
    filedialog->setObjectName(QStringLiteral("filedialog"));
    place(filedialog, 120, 3840, 2175, 1980);
    filedialog->setPattern(gamePattern);
    filedialog->setToolTip(QStringLiteral("look at all them files"));
    Label17 = label(c, "Label17", QStringLiteral("select multiple files with CTRL"), 135, 5820, 2175, 255);

    // Game list.
    addbtn =
        button(c, "addbtn", QStringLiteral("Add ->"), 2400, 4320, 975, 375, QStringLiteral("click to add to list"));
    rmvbutton = button(c, "rmvbutton", QStringLiteral("<- Remove"), 2400, 4800, 975, 375,
                       QStringLiteral("remove selected item from list"));
    Label16 = label(c, "Label16", QStringLiteral("Slot #"), 3360, 3630, 495, 255);
    moveup = button(c, "moveup", QStringLiteral("move up"), 3840, 3600, 2175, 255);
    listdialog = new GameListBox(c);
    listdialog->setObjectName(QStringLiteral("listdialog"));
    place(listdialog, 3840, 3840, 2175, 1980);
    // The rows keep the pitch of the slot numbers beside them (195 twips), whatever face the
    // system draws them in: a taller face would let row 5 drift beside "6".
    listdialog->setRowHeight(pixels(195));
    movedown = button(c, "movedown", QStringLiteral("move down"), 3840, 5820, 2175, 255);
    QLabel** slotLabels[] = {&Label8, &Label9, &Label10, &Label11, &Label12, &Label13, &Label14, &Label15};
    for (int slot = 0; slot < 8; ++slot) {
        const int height = slot == 0 ? 240 : slot == 2 ? 165 : 255;
        const QByteArray name = "Label" + QByteArray::number(8 + slot);
        *slotLabels[slot] = label(c, name.constData(), QString::number(slot + 1), 3600, 3855 + 195 * slot, 135, height);
        accessibility::mark(*slotLabels[slot], accessibility::Kind::Unread); // each row says its slot
    }
    Label20 = label(c, "Label20", QStringLiteral("0"), 2760, 6120, 375, 255);
    Label20->hide();

    // Paths.
    Label4 = label(c, "Label4", QStringLiteral("Location of Orbick:"), 3300, 135, 2535, 255);
    gotorbick = label(c, "gotorbick", QStringLiteral("Orbick found at the following location:"), 3300, 135, 3015, 255);
    gotorbick->hide();
    orbicklocation = textBox(c, "orbicklocation", QString(), true, 3300, 375, 3015, 285);
    orbickbtn = browseButton(c, "orbickbtn", 6420, 450, 255, 210);
    Label3 = label(c, "Label3", QStringLiteral("Select output directoy:"), 3300, 840, 2415, 255);
    colours::setTextColour(Label3, colours::black);
    multitxt = textBox(c, "multitxt", QString(), true, 3300, 1080, 3015, 285);
    colours::setTextColour(multitxt, colours::menuText);
    Command2 = browseButton(c, "Command2", 6420, 1155, 255, 210);
    Label2 = label(c, "Label2", QStringLiteral("Select loader file..."), 3300, 1530, 1575, 255);
    gotloader = label(c, "gotloader", QStringLiteral("Loader found. Using the following:"), 3300, 1530, 3135, 255);
    gotloader->hide();
    ldrtext = textBox(c, "ldrtext", QString(), true, 3300, 1770, 3015, 285);
    ldrselect = browseButton(c, "ldrselect", 6420, 1845, 255, 210);

    // Tool options.
    Label7 = label(c, "Label7", QStringLiteral("Other Variables"), 3405, 2145, 1215, 255);
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label7->setAutoFillBackground(true); // hides the box's top edge behind the heading
    Label5 = label(c, "Label5", QStringLiteral("Waitstep:"), 3375, 2445, 855, 255);
    waitstep = textBox(c, "waitstep", QStringLiteral("0"), false, 4590, 2415, 465, 285);
    colours::setBackgroundColour(waitstep, colours::white);
    Label18 = label(c, "Label18", QStringLiteral("Use EPP:"), 5535, 2445, 735, 255);
    eppcheck = checkBox(c, "eppcheck", true, 6705, 2415, 255, 255);
    Label6 = label(c, "Label6", QStringLiteral("LPT Port:"), 3375, 2775, 855, 255);
    sizelist = new PortComboBox(c);
    sizelist->setObjectName(QStringLiteral("sizelist"));
    place(sizelist, 4590, 2730, 735, 315);
    colours::setBackgroundColour(sizelist, colours::white);
    Label19 = label(c, "Label19", QStringLiteral("Repair header:"), 5490, 2775, 1095, 255);
    header = checkBox(c, "header", true, 6705, 2760, 255, 255);

    // Actions.
    compilebtn = button(c, "compilebtn", QStringLiteral("Compile multirom"), 6120, 4080, 1335, 375,
                        QStringLiteral("Compile the multirom"));
    flashbtn = button(c, "flashbtn", QStringLiteral("Flash"), 6120, 4560, 1335, 375, QStringLiteral("FLASH!"));
    reset = button(c, "reset", QStringLiteral("Reset"), 6120, 5040, 1335, 375,
                   QStringLiteral("clear game list, start over"));
    Command1 = button(c, "Command1", QStringLiteral("Go to save/load menu ->"), 5490, 6165, 1935, 255);

    // What a screen reader says of each control that takes input. The path boxes are named after
    // the label of each pair that shows; start-up names them again when it shows the other.
    using accessibility::nameAfter;
    nameAfter(Label1, filedialog);
    nameAfter(Label4, orbicklocation);
    nameAfter(Label3, multitxt);
    nameAfter(Label2, ldrtext);
    nameAfter(Label5, waitstep);
    nameAfter(Label18, eppcheck);
    nameAfter(Label6, sizelist);
    nameAfter(Label19, header);
    accessibility::nameWithoutLabel(drvdialog, tr("Drive"));
    dirdialog->setAccessibleName(tr("Folders"));
    listdialog->setAccessibleName(tr("Games in slot order"));
    orbickbtn->setAccessibleName(tr("Choose the tool"));
    Command2->setAccessibleName(tr("Choose the output folder"));
    ldrselect->setAccessibleName(tr("Choose the loader"));

    form::tabOrder({ldrtext,        drvdialog,  dirdialog, filedialog, addbtn,     rmvbutton, listdialog, orbickbtn,
                    Command2,       ldrselect,  waitstep,  sizelist,   compilebtn, flashbtn,  reset,      multitxt,
                    orbicklocation, multierase, Command1,  moveup,     movedown,   eppcheck,  header});
}

void frmdialog::connectHandlers()
{
    connect(exit, &QAction::triggered, this, &frmdialog::exit_Click);
    connect(about, &QAction::triggered, this, &frmdialog::about_Click);
    connect(Command1, &QPushButton::clicked, this, &frmdialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmdialog::Command2_Click);
    connect(ldrselect, &QPushButton::clicked, this, &frmdialog::ldrselect_Click);
    connect(orbickbtn, &QPushButton::clicked, this, &frmdialog::orbickbtn_Click);
    connect(drvdialog, &DriveList::driveChanged, this, &frmdialog::drvdialog_Change);
    connect(dirdialog, &FolderList::pathChanged, this, &frmdialog::dirdialog_Change);
    connect(filedialog, &FileList::pathChanged, this, &frmdialog::filedialog_PathChange);
    connect(dirdialog, &FolderList::folderUnreadable, this, &frmdialog::showFolderUnreadable);
    connect(filedialog, &FileList::folderUnreadable, this, &frmdialog::showFolderUnreadable);
    connect(addbtn, &QPushButton::clicked, this, &frmdialog::addbtn_Click);
    connect(rmvbutton, &QPushButton::clicked, this, &frmdialog::rmvbutton_Click);
    connect(moveup, &QPushButton::clicked, this, &frmdialog::moveup_Click);
    connect(movedown, &QPushButton::clicked, this, &frmdialog::movedown_Click);
    // The game list's own keys for its buttons: the keyboard reorders and removes where the focus is.
    const std::pair<QKeySequence, void (frmdialog::*)()> listKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Up), &frmdialog::moveup_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), &frmdialog::movedown_Click},
        {QKeySequence(Qt::Key_Delete), &frmdialog::rmvbutton_Click}};
    for (const auto& [keys, handler] : listKeys)
        connect(new QShortcut(keys, listdialog, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated, this,
                handler);
    connect(reset, &QPushButton::clicked, this, &frmdialog::reset_Click);
    connect(compilebtn, &QPushButton::clicked, this, &frmdialog::compilebtn_Click);
    connect(flashbtn, &QPushButton::clicked, this, &frmdialog::flashbtn_Click);
    connect(multierase, &QPushButton::clicked, this, &frmdialog::multierase_Click);
}

void frmdialog::reportStartProblem()
{
    if (m_startProblem.isEmpty())
        return;
    const QString problem = std::exchange(m_startProblem, QString());
    m_services.tell(this, QStringLiteral("cannot read the folder Vellmore was started in (") + problem +
                              QStringLiteral("); showing ") + browserFolder() + QStringLiteral(" instead"));
}

void frmdialog::exit_Click()
{
    emit endProgramRequested();
}

void frmdialog::about_Click()
{
    emit aboutRequested();
}

void frmdialog::Command1_Click()
{
    emit saveWindowRequested();
}

void frmdialog::Command2_Click()
{
    emit outputFolderWindowRequested();
}

void frmdialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit endProgramRequested();
}
