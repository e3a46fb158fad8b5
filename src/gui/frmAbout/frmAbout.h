#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About window: title, author, version and what Vellmore is. "OK", Enter and Esc close it.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

public slots:
    void cmdOK_Click();

private:
    // The controls, each named as its objectName.
    QLabel* lblTitle;
    QFrame* Line1;
    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
};
