#pragma once

#include <QFileDialog>

#include <initializer_list>

class QLabel;
class QLineEdit;

// The open and save dialogs behind every "..." button: the system's own where the platform has
// one (Windows, a desktop with a dialog of its own), else Qt's (drivable anywhere, offscreen
// too); modal to the window that asks, starting in a given folder with the first filter pair
// selected. The open dialog takes only existing files; the save dialog asks before replacing a
// file and before creating one (where a link leads, for a link), a "No" keeps it open (the
// system's dialog opens again where it was), and a name typed without an extension gets the
// selected filter's. A name Vellmore could not pass on as shown (not valid text, a double quote,
// too long, a circle of links) is refused with a message. The chosen path comes back as
// confirmed, with the system's separators (without blanks at either end where the file system
// drops them); empty when the user cancels.
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
    void useFilter(const QString& nameFilter);
    bool usesOwnWidgets() const;
    // Whether Vellmore may take path; otherwise the user was told why, or said No, under parent.
    static bool acceptable(Kind kind, const QString& path, QWidget* parent, const QString& title);
    static bool confirmSaveTarget(const QString& path, QWidget* parent, const QString& title);

    Kind m_kind;
    bool m_checked = false; // the name was looked at while the dialog was still open
};
