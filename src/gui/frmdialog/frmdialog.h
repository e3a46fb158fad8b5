#pragma once

#include <QHash>
#include <QWidget>

class WindowServices;

class DriveList;
class FileList;
class FolderList;
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
class frmdialog : public QWidget {
    Q_OBJECT

public:
    // services: how the window runs programs, tells the user and lets the user choose files.
    explicit frmdialog(WindowServices& services, QWidget* parent = nullptr);

    // Start-up: detects the loader and the tool in the current directory and fills the paths.
    void Form_Load();

    // Tells the user, once the window shows, that the folder it was started in could not be
    // read and which folder the browser shows instead. Nothing when it could.
    void reportStartProblem();

    // Shows the multirom indicator when path names an ordinary file; any failure counts as missing.
    bool File_Exists(const QString& path);

    int MoveListItem(GameListBox* list, qint16 direction);
    void SetHScroll(GameListBox* list);

    // The frozen state a compile leaves behind (the three path boxes greyed, their "..." buttons
    // hidden), and its end by Reset or a flash.
    void setPathsFrozen(bool frozen);

    // Reads the file list, the folder list and the drive list again from the disk, in that order.
    void refreshBrowser();

    // The folder the browser shows: where games are added from and flash.bat is written.
    QString browserFolder() const;

    // The open dialog of this window: shows it modal to owner and puts the chosen path (empty
    // when cancelled) into the text box that the chooser mode in Label20 names, if it names one.
    QString OpenDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder);

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

public slots:
    void exit_Click();
    void about_Click();
    void Command1_Click();
    void Command2_Click();
    void ldrselect_Click();
    void orbickbtn_Click();
    void drvdialog_Change();
    void dirdialog_Change();
    void filedialog_PathChange();
    void addbtn_Click();
    void rmvbutton_Click();
    void moveup_Click();
    void movedown_Click();
    void reset_Click();
    void compilebtn_Click();
    void flashbtn_Click();
    void multierase_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, each named as its objectName: tests and other drivers find them by it.
    WindowServices& m_services;

    QMenuBar* menuBar;
    QMenu* file;
    QAction* exit;
    QMenu* help;
    QAction* about;
    QWidget* clientArea;

    // File browser.
    DriveList* drvdialog;
    FolderList* dirdialog;
    QLabel* multiexist;
    QPushButton* multierase;
    QLabel* Label1;
    FileList* filedialog;
    QLabel* Label17;

    // Game list.
    QPushButton* addbtn;
    QPushButton* rmvbutton;
    QLabel* Label16;
    QPushButton* moveup;
    GameListBox* listdialog;
    QPushButton* movedown;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label20;

    // Paths.
    QLabel* Label4;
    QLabel* gotorbick;
    QLineEdit* orbicklocation;
    QPushButton* orbickbtn;
    QLabel* Label3;
    QLineEdit* multitxt;
    QPushButton* Command2;
    QLabel* Label2;
    QLabel* gotloader;
    QLineEdit* ldrtext;
    QPushButton* ldrselect;

    // Tool options.
    QLabel* Label7;
    QLabel* Label5;
    QLineEdit* waitstep;
    QLabel* Label18;
    QCheckBox* eppcheck;
    QLabel* Label6;
    PortComboBox* sizelist;
    QLabel* Label19;
    QCheckBox* header;

    // Actions.
    QPushButton* compilebtn;
    QPushButton* flashbtn;
    QPushButton* reset;
    QPushButton* Command1;

    // Drawn lines.
    QFrame* Line1;
    QFrame* Line2;
    QFrame* Line3;
    QFrame* Line4;
    QFrame* Line5;
    QFrame* Line6;
    QFrame* Line7;
    QFrame* Line8;

    // Turns the labels of the tool path red: it was needed and not chosen.
    void markToolPathMissing();

    // What the constructor's read of the start folder found for Form_Load; the folder is
    // empty when the start folder could not be read.
    QString m_startupFolder;
    QString m_startProblem; // why the start folder could not be shown, until the user is told
    QHash<QString, QString> m_startupFinds;

    void createControls();
    void connectHandlers();
    void showFolderUnreadable(const QString& path, const QString& reason);
};
