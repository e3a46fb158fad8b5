#pragma once

#include <QFileDialog>

// The open and save dialogs behind every "..." button: Qt's own dialog (drivable anywhere,
// offscreen too), modal to the window that asks, starting in a given folder with the first
// filter pair selected. The open dialog takes only existing files; the save dialog asks before
// replacing a file and before creating one, and a "No" keeps it open. The chosen path comes
// back without blanks at either end; empty when the user cancels.
class FileChooser : public QFileDialog {
    Q_OBJECT

public:
    enum class Kind { Open, Save };

    FileChooser(Kind kind, QWidget* owner, const QString& filter, const QString& title, const QString& folder);

    // Shows the dialog and waits for the user.
    static QString choose(Kind kind, QWidget* owner, const QString& filter, const QString& title,
                          const QString& folder);

public slots:
    void accept() override;

private:
    Kind m_kind;
};
