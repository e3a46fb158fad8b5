#pragma once

#include "controls/ColourValue.h"
#include "mainwindow/MainWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/RecordingServices.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// A temporary folder made the current directory, and the main window started in it the
// way the program starts it. Tests derive from it and call these from init() and cleanup().
class MainWindowFixture {
protected:
    void createFolder() { m_dir = new QTemporaryDir; }

    void startWindow(bool loaded = true)
    {
        m_cwd = new testfiles::CurrentDirectory(m_dir->path());
        m_services = RecordingServices();
        m_window = new MainWindow(m_services);
        if (loaded) {
            m_window->loadStartupFiles();
            m_window->show();
        }
    }

    // Clicks a button of the window as a user would and answers the message boxes that follow.
    QStringList click(QPushButton* button, bool* wellFormed = nullptr)
    {
        return answerMessages([&] { QTest::mouseClick(button, Qt::LeftButton); }, wellFormed);
    }

    // The frozen state a compile leaves: the path boxes greyed, their "..." buttons hidden.
    bool frozen() const
    {
        return control<QPushButton>(m_window, "ldrselect")->isHidden() &&
               control<QPushButton>(m_window, "orbickbtn")->isHidden() &&
               control<QPushButton>(m_window, "Command2")->isHidden() &&
               colours::backgroundColour(control<QLineEdit>(m_window, "ldrtext")) ==
                   colours::backgroundColourFor(colours::activeBorder);
    }

    // Everything goes, and no window may be left over.
    void finish()
    {
        delete m_window;
        delete m_cwd;
        delete m_dir;
        m_window = nullptr;
        m_cwd = nullptr;
        m_dir = nullptr;
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    // A name in the test's folder, as the windows write paths.
    QString at(const QString& name) const { return testfiles::native(m_dir->filePath(name)); }

    QTemporaryDir* m_dir = nullptr;
    RecordingServices m_services; // what the windows asked of the world; by default the program's own
    MainWindow* m_window = nullptr;

private:
    testfiles::CurrentDirectory* m_cwd = nullptr;
};
