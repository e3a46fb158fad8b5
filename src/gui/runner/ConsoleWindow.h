#pragma once

#include <QWidget>

class QPlainTextEdit;

// The console a started program writes to where the desktop gives it none: its
// standard output and error as they come, read-only, for as long as it runs.
class ConsoleWindow : public QWidget {
    Q_OBJECT

public:
    explicit ConsoleWindow(const QString& commandText);

    QString text() const;

public slots:
    void append(const QString& text);

private:
    QPlainTextEdit* m_view;
};
