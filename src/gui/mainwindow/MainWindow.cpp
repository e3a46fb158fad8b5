#include "mainwindow/MainWindow.h"
#include "services/WindowServices.h"

#include "controls/Accessibility.h"
#include "controls/Announcer.h"
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
#include <QScrollBar>
#include <QShortcut>

#include <future>
#include <utility>

using namespace form;

namespace {
const QString gamePattern = QStringLiteral("*.gba");
}

MainWindow::MainWindow(WindowServices& services, QWidget* parent)
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

    m_menuBar = form::menuBar(this);
    m_clientArea = form::clientArea(this, "frmdialog", QStringLiteral("Vellmore"), m_menuBar, 7485, 6420);
    m_fileMenu = menu(m_menuBar, "file", QStringLiteral("&File"));
    m_exitAction = menuItem(m_fileMenu, "exit", QStringLiteral("E&xit"));
    m_helpMenu = menu(m_menuBar, "help", QStringLiteral("&Help"));
    m_aboutAction = menuItem(m_helpMenu, "about", QStringLiteral("&About"));

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
    m_driveList->showDriveOf(browseFrom);
    m_folderList->showListing(browseFrom, startListing);
    m_fileList->showListing(browseFrom, startListing);
    m_startupFinds = startListing.found;
    connectHandlers();
    fitCaptions(this);
    layout()->activate(); // fixes the window's size now, not only when first shown
}

void MainWindow::createControls()
{
    QWidget* c = m_clientArea;

    // Lines first, so that the labels lying across them are drawn on top.
    line(c, "Line5", 3075, 0, 3075, 3420, colours::midGrey);
    line(c, "Line7", 7320, 0, 3075, 0, colours::midGrey);
    line(c, "Line8", 7320, 0, 7320, 3420, colours::midGrey);
    line(c, "Line6", 7320, 3405, 3075, 3405, colours::midGrey);
    line(c, "Line1", 3285, 2250, 7125, 2250, colours::windowFrame);
    line(c, "Line2", 3285, 2250, 3285, 3210, colours::windowText);
    line(c, "Line4", 7125, 2250, 7125, 3210, colours::windowText);
    line(c, "Line3", 3300, 3195, 7140, 3195, colours::windowText);

    // File browser. The three lists start at the current directory without raising
    // their change handlers: the caption keeps "Vellmore" until the user browses.
    m_driveList = new DriveList(c);
    m_driveList->setObjectName(QStringLiteral("drvdialog"));
    place(m_driveList, 120, 120, 2655, 315);

    m_folderList = new FolderList(c);
    m_folderList->setObjectName(QStringLiteral("dirdialog"));
    place(m_folderList, 120, 480, 2655, 1665);
    colours::setBackgroundColour(m_folderList, colours::titleBarText);
    colours::setTextColour(m_folderList, colours::menuText);

    m_multiromFound = label(c, "multiexist", QString(), 120, 2400, 2895, 255);
    QFont bold = windowFont();
    bold.setBold(true);
    m_multiromFound->setFont(bold);
    colours::setTextColour(m_multiromFound, colours::red);
    m_multiromFound->hide();
    m_eraseButton = button(c, "multierase", QStringLiteral("Erase?"), 840, 2760, 975, 375);
    m_eraseButton->hide();

    m_filesCaption = label(c, "Label1", QStringLiteral("Select files to add:"), 0, 3600, 1695, 255);
    m_fileList = new FileList(c);
    m_fileList->setObjectName(QStringLiteral("filedialog"));
    place(m_fileList, 120, 3840, 2175, 1980);
    m_fileList->setPattern(gamePattern);
    m_fileList->setToolTip(QStringLiteral("look at all them files"));
    m_multipleFilesHint = label(c, "Label17", QStringLiteral("select multiple files with CTRL"), 135, 5820, 2175, 255);

    // Game list.
    m_addButton =
        button(c, "addbtn", QStringLiteral("Add ->"), 2400, 4320, 975, 375, QStringLiteral("click to add to list"));
    m_removeButton = button(c, "rmvbutton", QStringLiteral("<- Remove"), 2400, 4800, 975, 375,
                            QStringLiteral("remove selected item from list"));
    m_slotCaption = label(c, "Label16", QStringLiteral("Slot #"), 3360, 3630, 495, 255);
    m_moveUpButton = button(c, "moveup", QStringLiteral("move up"), 3840, 3600, 2175, 255);
    m_gameList = new GameListBox(c);
    m_gameList->setObjectName(QStringLiteral("listdialog"));
    place(m_gameList, 3840, 3840, 2175, 1980);
    // The rows keep the pitch of the slot numbers beside them (195 twips), whatever face the
    // system draws them in: a taller face would let row 5 drift beside "6".
    m_gameList->setRowHeight(pixels(195));
    m_moveDownButton = button(c, "movedown", QStringLiteral("move down"), 3840, 5820, 2175, 255);
    // The numbers say the slots of the rows beside them as the list scrolls, up to 32767: they reach
    // left to the Remove button, right-aligned against the list.
    for (int slot = 0; slot < 8; ++slot) {
        const int height = slot == 0 ? 240 : slot == 2 ? 165 : 255;
        const QByteArray name = "Label" + QByteArray::number(8 + slot);
        m_slotNumbers[slot] =
            label(c, name.constData(), QString::number(slot + 1), 3375, 3855 + 195 * slot, 465, height);
        m_slotNumbers[slot]->setAlignment(Qt::AlignRight | Qt::AlignTop);
        accessibility::mark(m_slotNumbers[slot], accessibility::Kind::Unread); // each row says its slot
    }
    m_chooserMode = label(c, "Label20", QStringLiteral("0"), 2760, 6120, 375, 255);
    m_chooserMode->hide();
    m_announcer = new Announcer(c);

    // Paths.
    m_toolCaption = label(c, "Label4", QStringLiteral("Location of Orbick:"), 3300, 135, 2535, 255);
    m_toolFoundCaption =
        label(c, "gotorbick", QStringLiteral("Orbick found at the following location:"), 3300, 135, 3015, 255);
    m_toolFoundCaption->hide();
    m_toolPath = textBox(c, "orbicklocation", QString(), true, 3300, 375, 3015, 285);
    m_toolBrowseButton = browseButton(c, "orbickbtn", 6420, 450, 255, 210);
    m_outputCaption = label(c, "Label3", QStringLiteral("Select output directoy:"), 3300, 840, 2415, 255);
    colours::setTextColour(m_outputCaption, colours::black);
    m_outputPath = textBox(c, "multitxt", QString(), true, 3300, 1080, 3015, 285);
    colours::setTextColour(m_outputPath, colours::menuText);
    m_outputBrowseButton = browseButton(c, "Command2", 6420, 1155, 255, 210);
    m_loaderCaption = label(c, "Label2", QStringLiteral("Select loader file..."), 3300, 1530, 1575, 255);
    m_loaderFoundCaption =
        label(c, "gotloader", QStringLiteral("Loader found. Using the following:"), 3300, 1530, 3135, 255);
    m_loaderFoundCaption->hide();
    m_loaderPath = textBox(c, "ldrtext", QString(), true, 3300, 1770, 3015, 285);
    m_loaderBrowseButton = browseButton(c, "ldrselect", 6420, 1845, 255, 210);

    // Tool options.
    m_optionsHeading = label(c, "Label7", QStringLiteral("Other Variables"), 3405, 2145, 1215, 255);
    m_optionsHeading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_optionsHeading->setAutoFillBackground(true); // hides the box's top edge behind the heading
    m_waitStepCaption = label(c, "Label5", QStringLiteral("Waitstep:"), 3375, 2445, 855, 255);
    m_waitStep = textBox(c, "waitstep", QStringLiteral("0"), false, 4590, 2415, 465, 285);
    colours::setBackgroundColour(m_waitStep, colours::white);
    m_eppCaption = label(c, "Label18", QStringLiteral("Use EPP:"), 5535, 2445, 735, 255);
    m_eppCheck = checkBox(c, "eppcheck", true, 6705, 2415, 255, 255);
    m_portCaption = label(c, "Label6", QStringLiteral("LPT Port:"), 3375, 2775, 855, 255);
    m_portList = new PortComboBox(c);
    m_portList->setObjectName(QStringLiteral("sizelist"));
    place(m_portList, 4590, 2730, 735, 315);
    colours::setBackgroundColour(m_portList, colours::white);
    m_repairHeaderCaption = label(c, "Label19", QStringLiteral("Repair header:"), 5490, 2775, 1095, 255);
    m_repairHeaderCheck = checkBox(c, "header", true, 6705, 2760, 255, 255);

    // Actions.
    m_compileButton = button(c, "compilebtn", QStringLiteral("Compile multirom"), 6120, 4080, 1335, 375,
                             QStringLiteral("Compile the multirom"));
    m_flashButton = button(c, "flashbtn", QStringLiteral("Flash"), 6120, 4560, 1335, 375, QStringLiteral("FLASH!"));
    m_resetButton = button(c, "reset", QStringLiteral("Reset"), 6120, 5040, 1335, 375,
                           QStringLiteral("clear game list, start over"));
    m_saveWindowButton = button(c, "Command1", QStringLiteral("Go to save/load menu ->"), 5490, 6165, 1935, 255);

    // What a screen reader says of each control that takes input. The path boxes are named after
    // the label of each pair that shows; start-up names them again when it shows the other.
    using accessibility::nameAfter;
    nameAfter(m_filesCaption, m_fileList);
    nameAfter(m_toolCaption, m_toolPath);
    nameAfter(m_outputCaption, m_outputPath);
    nameAfter(m_loaderCaption, m_loaderPath);
    nameAfter(m_waitStepCaption, m_waitStep);
    nameAfter(m_eppCaption, m_eppCheck);
    nameAfter(m_portCaption, m_portList);
    nameAfter(m_repairHeaderCaption, m_repairHeaderCheck);
    accessibility::nameWithoutLabel(m_driveList, tr("Drive"));
    m_folderList->setAccessibleName(tr("Folders"));
    m_gameList->setAccessibleName(tr("Games in slot order"));
    m_toolBrowseButton->setAccessibleName(tr("Choose the tool"));
    m_outputBrowseButton->setAccessibleName(tr("Choose the output folder"));
    m_loaderBrowseButton->setAccessibleName(tr("Choose the loader"));

    form::tabOrder({m_loaderPath,     m_driveList, m_folderList,       m_fileList,           m_addButton,
                    m_removeButton,   m_gameList,  m_toolBrowseButton, m_outputBrowseButton, m_loaderBrowseButton,
                    m_waitStep,       m_portList,  m_compileButton,    m_flashButton,        m_resetButton,
                    m_outputPath,     m_toolPath,  m_eraseButton,      m_saveWindowButton,   m_moveUpButton,
                    m_moveDownButton, m_eppCheck,  m_repairHeaderCheck});
}

void MainWindow::connectHandlers()
{
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::onExit);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::onAbout);
    connect(m_saveWindowButton, &QPushButton::clicked, this, &MainWindow::onGoToSaveWindow);
    connect(m_outputBrowseButton, &QPushButton::clicked, this, &MainWindow::onChooseOutputFolder);
    connect(m_loaderBrowseButton, &QPushButton::clicked, this, &MainWindow::onChooseLoader);
    connect(m_toolBrowseButton, &QPushButton::clicked, this, &MainWindow::onChooseTool);
    connect(m_driveList, &DriveList::driveChanged, this, &MainWindow::onDriveChanged);
    connect(m_folderList, &FolderList::pathChanged, this, &MainWindow::onFolderChanged);
    connect(m_fileList, &FileList::pathChanged, this, &MainWindow::onFileListPathChanged);
    connect(m_folderList, &FolderList::folderUnreadable, this, &MainWindow::showFolderUnreadable);
    connect(m_fileList, &FileList::folderUnreadable, this, &MainWindow::showFolderUnreadable);
    connect(m_addButton, &QPushButton::clicked, this, &MainWindow::onAdd);
    connect(m_removeButton, &QPushButton::clicked, this, &MainWindow::onRemove);
    connect(m_moveUpButton, &QPushButton::clicked, this, &MainWindow::onMoveUp);
    connect(m_moveDownButton, &QPushButton::clicked, this, &MainWindow::onMoveDown);
    // The game list's own keys for its buttons: the keyboard reorders and removes where the focus is.
    const std::pair<QKeySequence, void (MainWindow::*)()> listKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Up), &MainWindow::onMoveUp},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), &MainWindow::onMoveDown},
        {QKeySequence(Qt::Key_Delete), &MainWindow::onRemove}};
    for (const auto& [keys, handler] : listKeys)
        connect(new QShortcut(keys, m_gameList, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated, this,
                handler);
    connect(m_gameList->verticalScrollBar(), &QScrollBar::valueChanged, this, &MainWindow::numberVisibleSlots);
    connect(m_resetButton, &QPushButton::clicked, this, &MainWindow::onReset);
    connect(m_compileButton, &QPushButton::clicked, this, &MainWindow::onCompile);
    connect(m_flashButton, &QPushButton::clicked, this, &MainWindow::onFlash);
    connect(m_eraseButton, &QPushButton::clicked, this, &MainWindow::onErase);
}

void MainWindow::reportStartProblem()
{
    if (m_startProblem.isEmpty())
        return;
    const QString problem = std::exchange(m_startProblem, QString());
    m_services.tell(this, QStringLiteral("cannot read the folder Vellmore was started in (") + problem +
                              QStringLiteral("); showing ") + browserFolder() + QStringLiteral(" instead"));
}

void MainWindow::onExit()
{
    emit endProgramRequested();
}

void MainWindow::onAbout()
{
    emit aboutRequested();
}

void MainWindow::onGoToSaveWindow()
{
    emit saveWindowRequested();
}

void MainWindow::onChooseOutputFolder()
{
    emit outputFolderWindowRequested();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit endProgramRequested();
}
