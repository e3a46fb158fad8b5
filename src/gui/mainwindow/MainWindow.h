#pragma once

#include <QHash>

#include <QWidget>
#include <array>

class WindowServices;

class DriveList;
class FileList;
class FolderList;
class Announcer;
class GameListBox;
class PortComboBox;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

// The main window: the file browser, the game list, the three paths and the tool
// options. Its handlers live beside it, one file to a concern (start-up, browser, game list,
// choosers, compile, flash); the sequences they run are the core's (multirom/, cart/).
class MainWindow : public QWidget {
    Q_OBJECT

public:
    // services: how the window runs programs, tells the user and lets the user choose files.
    explicit MainWindow(WindowServices& services, QWidget* parent = nullptr);

    // Start-up: detects the loader and the tool in the current directory and fills the paths.
    void loadStartupFiles();

    // Tells the user, once the window shows, that the folder it was started in could not be
    // read and which folder the browser shows instead. Nothing when it could.
    void reportStartProblem();

    // Shows the multirom indicator and "Erase?" when path names an ordinary file, hides them otherwise
    // (any failure counts as missing).
    void updateMultiromIndicator(const QString& path);

    // The frozen state a compile leaves behind (the three path boxes greyed, their "..." buttons
    // hidden), and its end by Reset or a flash.
    void setPathsFrozen(bool frozen);

    // Reads the file list, the folder list and the drive list again from the disk, in that order.
    void refreshBrowser();

    // The folder the browser shows: where games are added from and flash.bat is written.
    QString browserFolder() const;

    // The tool path the save window takes over when it is made.
    QString toolPath() const;

    // What "Select" of the output folder window writes: the output path in folder, and the
    // end of the warning on its label.
    void setOutputFolder(const QString& folder);

signals:
    void endProgramRequested();
    void aboutRequested();
    void saveWindowRequested();
    void outputFolderWindowRequested();

private slots:
    void onExit();
    void onAbout();
    void onGoToSaveWindow();
    void onChooseOutputFolder();
    void onChooseLoader();
    void onChooseTool();
    void onDriveChanged();
    void onFolderChanged();
    void onFileListPathChanged();
    void onAdd();
    void onRemove();
    void onMoveUp();
    void onMoveDown();
    void onReset();
    void onCompile();
    void onFlash();
    void onErase();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, each named as its objectName: tests and other drivers find them by it.
    WindowServices& m_services;

    QMenuBar* m_menuBar;
    QMenu* m_fileMenu;
    QAction* m_exitAction;
    QMenu* m_helpMenu;
    QAction* m_aboutAction;
    QWidget* m_clientArea;

    // File browser.
    DriveList* m_driveList;
    FolderList* m_folderList;
    QLabel* m_multiromFound;
    QPushButton* m_eraseButton;
    QLabel* m_filesCaption;
    FileList* m_fileList;
    QLabel* m_multipleFilesHint;

    // Game list.
    QPushButton* m_addButton;
    QPushButton* m_removeButton;
    QLabel* m_slotCaption;
    QPushButton* m_moveUpButton;
    GameListBox* m_gameList;
    QPushButton* m_moveDownButton;
    std::array<QLabel*, 8> m_slotNumbers; // the slots of the rows beside them, "1" to "8" unscrolled
    QLabel* m_chooserMode;
    Announcer* m_announcer; // says what an action did where nothing in view takes the focus

    // Paths.
    QLabel* m_toolCaption;
    QLabel* m_toolFoundCaption;
    QLineEdit* m_toolPath;
    QPushButton* m_toolBrowseButton;
    QLabel* m_outputCaption;
    QLineEdit* m_outputPath;
    QPushButton* m_outputBrowseButton;
    QLabel* m_loaderCaption;
    QLabel* m_loaderFoundCaption;
    QLineEdit* m_loaderPath;
    QPushButton* m_loaderBrowseButton;

    // Tool options.
    QLabel* m_optionsHeading;
    QLabel* m_waitStepCaption;
    QLineEdit* m_waitStep;
    QLabel* m_eppCaption;
    QCheckBox* m_eppCheck;
    QLabel* m_portCaption;
    PortComboBox* m_portList;
    QLabel* m_repairHeaderCaption;
    QCheckBox* m_repairHeaderCheck;

    // Actions.
    QPushButton* m_compileButton;
    QPushButton* m_flashButton;
    QPushButton* m_resetButton;
    QPushButton* m_saveWindowButton;

    // Turns the labels of the tool path red: it was needed and not chosen.
    void markToolPathMissing();

    // What the constructor's read of the start folder found for loadStartupFiles; the folder is
    // empty when the start folder could not be read.
    QString m_startupFolder;
    QString m_startProblem; // why the start folder could not be shown, until the user is told
    QHash<QString, QString> m_startupFinds;

    // The open dialog of this window, modal to it and starting in the browser's folder: the chosen
    // path (empty when cancelled) goes into box.
    void chooseFileInto(QLineEdit* box, const QString& filter, const QString& title);

    // Moves the selected game one place, wrapping at either end.
    void moveSelectedGame(bool down);
    // Lets the game list scroll sideways as far as its widest entry.
    void updateGameListScroll();
    // The slot numbers beside the list say the slots of the rows now beside them.
    void numberVisibleSlots();
    // A game's file name, as its row is said without the folder.
    static QString fileNameOf(const QString& gamePath);

    void createControls();
    void connectHandlers();
    void showFolderUnreadable(const QString& path, const QString& reason);
};
