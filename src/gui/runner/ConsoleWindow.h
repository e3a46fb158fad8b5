#pragma once

#include "run/ConsoleText.h"

#include <QTimer>
#include <QWidget>

class Announcer;
class QPlainTextEdit;
class QPushButton;

// The console a started program writes to where the desktop gives it none: the tail of
// its standard output and error as they come, read-only, for as long as it runs. What
// arrives is shown at a steady rate, not after every read, so a program that writes
// without end cannot stall it. Closing it, Ctrl+C in it or its "Stop" button asks to stop
// the program, as closing a console does on Windows. It is a window-modal dialog of the window it
// was started from, so that the window manager keeps it above that window and gives it the focus.
// For a screen reader it is a dialog named after the program ("Running OB.exe"): its output grows
// by the lines that arrive, Stop has the focus (Esc presses it), and the latest line is said as a
// notification at most every few seconds.
class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    ConsoleWindow(const QString& commandText, const QString& programName, QWidget* owner);

    // Shows it in front, with the keyboard's focus, so that Ctrl+C reaches it at once.
    void present();

    // Everything the console holds, shown or about to be.
    QString text() const;

    // How the user asked to stop the program ("the console window was closed"); empty until then.
    QString stopReason() const { return m_stopReason; }

    // Asks to stop the program; how says why, as the outcome will tell it. The first reason stays.
    void requestStop(const QString& how);

    // Tells assistive technology that the program has ended: the console is no longer busy.
    void markEnded();

public slots:
    void append(const QByteArray& bytes);

signals:
    void stopRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPending();
    void tellLatestLine(const QString& text);

    QPlainTextEdit* m_view;
    QPushButton* m_stop;
    QString m_shown;        // what the view holds
    Announcer* m_announcer; // says the latest line now and then
    run::ConsoleText m_text;
    QTimer m_refresh;
    bool m_pending = false;
    QString m_stopReason;
};
