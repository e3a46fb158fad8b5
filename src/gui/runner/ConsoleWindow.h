#pragma once

#include "platform/ConsoleText.h"

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;

// The console a started program writes to where the desktop gives it none: the tail of
// its standard output and error as they come, read-only, for as long as it runs. What
// arrives is shown at a steady rate, not after every read, so a program that writes
// without end cannot stall it. Closing it, or Ctrl+C in it, asks to stop the program,
// as closing a console does on Windows.
class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleWindow(const QString& commandText);

    // Everything the console holds, shown or about to be.
    QString text() const;

public slots:
    void append(const QByteArray& bytes);

signals:
    void stopRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPending();

    QPlainTextEdit* m_view;
    platform::ConsoleText m_text;
    QTimer m_refresh;
    bool m_pending = false;
};
