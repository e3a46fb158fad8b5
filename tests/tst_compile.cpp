// "Compile multirom": the checks, the copy through flash.bat, and every way it can fail.
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"
#include "support/DialogAnswers.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class CompileTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void checksInOrder_data();
    void checksInOrder();
    void compileJoinsLoaderAndGamesInListOrder();

private:
    QStringList compile(bool* wellFormed = nullptr)
    {
        return click(control<QPushButton>(m_window, "compilebtn"), wellFormed);
    }
    void addGames(const QStringList& paths)
    {
        for (const QString& path : paths)
            control<GameListBox>(m_window, "listdialog")->addItem(path);
    }

    QByteArray m_loader;
};

void CompileTest::init()
{
    createFolder();
    m_loader = testfiles::pattern(32 * 1024, 1);
    testfiles::write(m_dir->filePath("gbaldr32.bin"), m_loader);
    testfiles::write(m_dir->filePath("OB.exe"), "tool");
    startWindow();
}

void CompileTest::cleanup()
{
    finish();
}

void CompileTest::checksInOrder_data()
{
    QTest::addColumn<bool>("output");
    QTest::addColumn<bool>("games");
    QTest::addColumn<bool>("loader");
    QTest::addColumn<bool>("tool");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("red");

    QTest::newRow("all missing") << false << false << false << false << "no output file selected"
                                 << QStringList{"Label3"};
    QTest::newRow("no games") << true << false << false << false << "you need to have some games, ne?" << QStringList{};
    QTest::newRow("no loader, no tool") << true << true << false << false << "please select a loader"
                                        << QStringList{"Label2", "gotloader"};
    QTest::newRow("no tool") << true << true << true << false << "please select your Orbick location"
                             << QStringList{"Label4", "gotorbick"};
}

void CompileTest::checksInOrder()
{
    QFETCH(bool, output);
    QFETCH(bool, games);
    QFETCH(bool, loader);
    QFETCH(bool, tool);
    QFETCH(QString, message);
    QFETCH(QStringList, red);
    if (!output)
        control<QLineEdit>(m_window, "multitxt")->clear();
    if (games)
        addGames({m_dir->filePath("gbaldr32.bin")});
    if (!loader)
        control<QLineEdit>(m_window, "ldrtext")->clear();
    if (!tool)
        control<QLineEdit>(m_window, "orbicklocation")->clear();

    bool wellFormed = false;
    QCOMPARE(compile(&wellFormed), QStringList{message});
    QVERIFY(wellFormed);
    for (const char* name : {"Label2", "gotloader", "Label3", "Label4", "gotorbick"}) {
        const QColor expected = red.contains(name) ? QColor(255, 0, 0) : QColor(0, 0, 0);
        QCOMPARE(colours::textColour(m_window->findChild<QLabel*>(name)), expected);
    }
    QVERIFY(!frozen());
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
}

void CompileTest::compileJoinsLoaderAndGamesInListOrder()
{
    const QStringList games{m_dir->filePath("roms/b b & c.gba"), m_dir->filePath("roms/100% ünïcode.gba"),
                            m_dir->filePath("roms/a.gba")};
    QByteArray expected = m_loader;
    for (int i = 0; i < games.size(); ++i) {
        const QByteArray bytes = testfiles::pattern(40000 + 1000 * i, i + 2);
        testfiles::write(games[i], bytes);
        expected += bytes;
    }
    // A batch file that an earlier compile left behind when it was cut off.
    testfiles::write(m_dir->filePath("flash.bat"), "@echo off\r\ncopy /b a+\"b.gba\" c\r\n");
    testfiles::write(m_dir->filePath("multi.gba"), "an older multirom");
    addGames(games);

    bool wellFormed = false;
    const QString output = control<QLineEdit>(m_window, "multitxt")->text();
    QCOMPARE(compile(&wellFormed), QStringList{"Compiled to " + output + "\n\npress Flash for fun!"});
    QVERIFY(wellFormed);
    QCOMPARE(testfiles::read(output), expected);
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
    QVERIFY(frozen());
    QVERIFY(control<QLabel>(m_window, "multiexist")->isVisible());
    QVERIFY(control<FileList>(m_window, "filedialog")->rowOf("multi.gba") >= 0);
    QCOMPARE(control<GameListBox>(m_window, "listdialog")->entries(), games);
}

QTEST_MAIN(CompileTest)
#include "tst_compile.moc"
