#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About window: title, author, version and what Vellmore is. "OK", Enter and Esc close it.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

private slots:
    void onOk();

private:
    // The controls, each named as its objectName.
    QLabel* m_title;
    QLabel* m_author;
    QLabel* m_version;
    QLabel* m_description;
    QPushButton* m_okButton;
};
