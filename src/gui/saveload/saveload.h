#pragma once

#include <QWidget>

#include "cart/CartOperations.h"

class WindowServices;

class PortComboBox;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

// The save window: backing up and restoring save banks, backing up a whole cart,
// and the tool path and port settings all three use.
class saveload : public QWidget {
    Q_OBJECT

public:
    // services: how the window runs programs, tells the user and lets the user choose files.
    explicit saveload(WindowServices& services, QWidget* parent = nullptr);

    // Runs when the window is created: takes the main window's tool path when the tool lies in
    // the current directory of this moment.
    void Form_Load(const QString& mainToolPath);

    // This window's open and save dialogs: each shows its dialog modal to owner and puts the
    // chosen path (empty when cancelled) into the text box that the chooser mode names, if it
    // is one of the two modes of that dialog.
    QString OpenDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder);
    QString SaveDialog(QWidget* owner, const QString& filter, const QString& title, const QString& folder);

    // Where the dialogs start: the main window's browser folder, told by whoever shows this window.
    void setBrowserFolder(const QString& folder) { m_browserFolder = folder; }

signals:
    void endProgramRequested();
    void backRequested();         // "&Back to main menu"
    void backAndCloseRequested(); // "<- back to main menu"
    void unloaded();              // the window is being closed

public slots:
    void back_Click();
    void exit_Click();
    void Command3_Click();
    void orbickbtn_Click();
    void Command2_Click();
    void Command4_Click();
    void Command1_Click();
    void backupbtn_Click();
    void restore_Click();
    void backupcart_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, each named as its objectName: tests and other drivers find them by it.
    WindowServices& m_services;

    QMenuBar* menuBar;
    QMenu* file;
    QAction* back;
    QAction* exit;
    QWidget* clientArea;

    QFrame* Line3;
    QFrame* Line5;

    // Global Variables.
    QLabel* Label6;
    QFrame* Line4;
    QLabel* Label2;
    QLineEdit* orbicklocation;
    QPushButton* orbickbtn;
    QLabel* Label5;
    QLineEdit* waitstep;
    QLabel* Label18;
    QCheckBox* eppcheck;
    QLabel* Label13;
    PortComboBox* sizelist;

    // Backup Cart.
    QLabel* Label11;
    QFrame* Line7;
    QLabel* Label12;
    QLineEdit* cartname;
    QPushButton* Command4;
    QLabel* Label14;
    QFrame* Frame4;
    QRadioButton* chip1;
    QRadioButton* chip2;
    QRadioButton* chip3;
    QRadioButton* chip4;
    QRadioButton* chip5;
    QRadioButton* chip6;
    QPushButton* backupcart;

    // Backup Save.
    QLabel* Label1;
    QFrame* Line2;
    QLabel* Label4;
    QFrame* Frame1;
    QRadioButton* bank1;
    QRadioButton* bank2;
    QRadioButton* bank3;
    QRadioButton* bank4;
    QFrame* Line1;
    QLabel* Label9;
    QFrame* Frame2;
    QRadioButton* size1;
    QRadioButton* size2;
    QRadioButton* size3;
    QRadioButton* size4;
    QLabel* Label3;
    QLineEdit* outputxt;
    QPushButton* Command2;
    QPushButton* backupbtn;

    // Restore Save.
    QLabel* Label7;
    QFrame* Line6;
    QLabel* Label10;
    QLineEdit* restoretxt;
    QPushButton* Command1;
    QLabel* Label8;
    QFrame* Frame3;
    QRadioButton* rbank1;
    QRadioButton* rbank2;
    QRadioButton* rbank3;
    QRadioButton* rbank4;
    QPushButton* restore;

    QPushButton* Command3;
    QLabel* Label20;

    void createControls();
    void connectHandlers();
    void connectOperations();
    void showToolOutcome(const cart::ToolOutcome& outcome);
    // Writes "0" into the empty wait step box when the operation comes to that step.
    cart::WaitStepFilled showWaitStepFilled();

    QString m_browserFolder;
};
