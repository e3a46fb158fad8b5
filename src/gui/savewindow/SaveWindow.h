#pragma once

#include <QWidget>

#include "cart/CartOperations.h"
#include "controls/FileChooser.h"

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
class SaveWindow : public QWidget {
    Q_OBJECT

public:
    // services: how the window runs programs, tells the user and lets the user choose files.
    explicit SaveWindow(WindowServices& services, QWidget* parent = nullptr);

    // Runs when the window is created: takes the main window's tool path when the tool lies in
    // the current directory of this moment.
    void takeMainToolPath(const QString& mainToolPath);

    // Where the dialogs start: the main window's browser folder, told by whoever shows this window.
    void setBrowserFolder(const QString& folder) { m_browserFolder = folder; }

signals:
    void endProgramRequested();
    void backRequested();         // "&Back to main menu"
    void backAndCloseRequested(); // "<- back to main menu"
    void unloaded();              // the window is being closed

private slots:
    void onBack();
    void onExit();
    void onBackAndClose();
    void onChooseTool();
    void onChooseSaveBackupFile();
    void onChooseCartBackupFile();
    void onChooseSavedGame();
    void onBackupSave();
    void onRestoreSave();
    void onBackupCart();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, each named as its objectName: tests and other drivers find them by it.
    WindowServices& m_services;

    QMenuBar* m_menuBar;
    QMenu* m_fileMenu;
    QAction* m_backAction;
    QAction* m_exitAction;
    QWidget* m_clientArea;

    // Global Variables.
    QLabel* m_settingsHeading;
    QLabel* m_toolCaption;
    QLineEdit* m_toolPath;
    QPushButton* m_toolBrowseButton;
    QLabel* m_waitStepCaption;
    QLineEdit* m_waitStep;
    QLabel* m_eppCaption;
    QCheckBox* m_eppCheck;
    QLabel* m_portCaption;
    PortComboBox* m_portList;

    // Backup Cart.
    QLabel* m_cartBackupHeading;
    QLabel* m_cartBackupFileCaption;
    QLineEdit* m_cartBackupPath;
    QPushButton* m_cartBackupBrowseButton;
    QLabel* m_chipSizeCaption;
    QFrame* m_chipSizeGroup;
    QRadioButton* m_chip8;
    QRadioButton* m_chip16;
    QRadioButton* m_chip32;
    QRadioButton* m_chip64;
    QRadioButton* m_chip128;
    QRadioButton* m_chip256;
    QPushButton* m_backupCartButton;

    // Backup Save.
    QLabel* m_saveBackupHeading;
    QLabel* m_backupBankCaption;
    QFrame* m_backupBankGroup;
    QRadioButton* m_backupBank1;
    QRadioButton* m_backupBank2;
    QRadioButton* m_backupBank3;
    QRadioButton* m_backupBank4;
    QLabel* m_saveSizeCaption;
    QFrame* m_saveSizeGroup;
    QRadioButton* m_size32K;
    QRadioButton* m_size64K;
    QRadioButton* m_size128K;
    QRadioButton* m_size256K;
    QLabel* m_saveBackupFileCaption;
    QLineEdit* m_saveBackupPath;
    QPushButton* m_saveBackupBrowseButton;
    QPushButton* m_backupSaveButton;

    // Restore Save.
    QLabel* m_restoreHeading;
    QLabel* m_savedGameCaption;
    QLineEdit* m_savedGamePath;
    QPushButton* m_savedGameBrowseButton;
    QLabel* m_restoreBankCaption;
    QFrame* m_restoreBankGroup;
    QRadioButton* m_restoreBank1;
    QRadioButton* m_restoreBank2;
    QRadioButton* m_restoreBank3;
    QRadioButton* m_restoreBank4;
    QPushButton* m_restoreButton;

    QPushButton* m_backToMainButton;
    QLabel* m_chooserMode;

    // This window's open and save dialogs, modal to it and starting in the browser's folder: the
    // chosen path (empty when cancelled) goes into box.
    void chooseFileInto(QLineEdit* box, FileChooser::Kind kind, const QString& filter, const QString& title);

    void createControls();
    void connectHandlers();
    void connectOperations();
    void showToolOutcome(const cart::ToolOutcome& outcome);
    // Writes "0" into the empty wait step box when the operation comes to that step.
    cart::WaitStepFilled showWaitStepFilled();

    QString m_browserFolder;
};
