// "Compile multirom": the checks, the copy through flash.bat, and every way it can fail.
#include "support/MainWindowFixture.h"
#include "support/ModalAnswers.h"
#include "support/TestFiles.h"
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/GameListBox.h"
#include "frmdialog/frmdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

class CompileTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void checksInOrder_data();
    void checksInOrder();
    void compileJoinsLoaderAndGamesInListOrder();
    void refusals_data();
    void refusals();
    void failedCopyIsReportedAsFailure();
    void unwritableBatchFolderIsReported();

private:
    QStringList compile(bool* wellFormed = nullptr) { return click(m_window->compilebtn, wellFormed); }
    void addGames(const QStringList& paths)
    {
        for (const QString& path : paths)
            m_window->listdialog->addItem(path);
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
        m_window->multitxt->clear();
    if (games)
        addGames({m_dir->filePath("gbaldr32.bin")});
    if (!loader)
        m_window->ldrtext->clear();
    if (!tool)
        m_window->orbicklocation->clear();

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
    testfiles::write(m_dir->filePath("flash.bat"), "an older batch file");
    testfiles::write(m_dir->filePath("multi.gba"), "an older multirom");
    addGames(games);

    bool wellFormed = false;
    const QString output = m_window->multitxt->text();
    QCOMPARE(compile(&wellFormed), QStringList{"Compiled to " + output + "\n\npress Flash for fun!"});
    QVERIFY(wellFormed);
    QCOMPARE(testfiles::read(output), expected);
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
    QVERIFY(frozen());
    QVERIFY(m_window->multiexist->isVisible());
    QVERIFY(!m_window->filedialog->findItems("multi.gba", Qt::MatchExactly).isEmpty());
    QCOMPARE(m_window->listdialog->entries(), games);
}

void CompileTest::refusals_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("messageStart");
    QTest::addColumn<QString>("named"); // the path the message names, relative to the folder

    QTest::newRow("a game that is gone") << "missing game"
                                         << "file not found: "
                                         << "gone.gba";
    QTest::newRow("the loader that is gone") << "missing loader"
                                             << "file not found: "
                                             << "gbaldr32.bin";
    QTest::newRow("a game that is a folder") << "folder game"
                                             << "cannot read the file: "
                                             << "folder.gba";
    QTest::newRow("the old multirom among the games") << "output as game"
                                                      << "the output file is also an input of the multirom: "
                                                      << "multi.gba";
    QTest::newRow("a double quote in a path") << "quote"
                                              << "a path with a double quote or a line break cannot be used: "
                                              << "say \"hi\".gba";
    QTest::newRow("a line break in a path") << "quote"
                                            << "a path with a double quote or a line break cannot be used: "
                                            << "two\nlines.gba";
}

void CompileTest::refusals()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, messageStart);
    QFETCH(QString, named);
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    testfiles::write(m_dir->filePath("multi.gba"), "the good old multirom");
    addGames({m_dir->filePath("a.gba")});
    if (arrangement == "missing game")
        addGames({m_dir->filePath("gone.gba")});
    else if (arrangement == "missing loader")
        QVERIFY(QFile::remove(m_dir->filePath("gbaldr32.bin")));
    else if (arrangement == "folder game") {
        QVERIFY(QDir(m_dir->path()).mkdir("folder.gba"));
        addGames({m_dir->filePath("folder.gba")});
    } else if (arrangement == "output as game")
        addGames({m_dir->filePath("multi.gba")});
    else if (arrangement == "quote") {
        testfiles::write(m_dir->filePath(named), "q");
        addGames({m_dir->filePath(named)});
    }

    const QStringList messages = compile();
    QCOMPARE(messages, QStringList{messageStart + m_dir->filePath(named)});
    QCOMPARE(testfiles::read(m_dir->filePath("multi.gba")), QByteArray("the good old multirom"));
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
    QVERIFY(!frozen());
}

void CompileTest::failedCopyIsReportedAsFailure()
{
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    addGames({m_dir->filePath("a.gba")});
    m_window->multitxt->setText(m_dir->filePath("no such folder/multi.gba"));
    const QStringList messages = compile();
    QCOMPARE(messages, QStringList{"compile failed: the copy ended with exit code 1"});
    QVERIFY(!frozen());
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
    QVERIFY(!m_window->multiexist->isVisible());
}

void CompileTest::unwritableBatchFolderIsReported()
{
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    addGames({m_dir->filePath("a.gba")});
    // The browser shows a folder that has gone since: flash.bat cannot be written there.
    const QString gone = m_dir->filePath("gone");
    QVERIFY(QDir(m_dir->path()).mkdir("gone"));
    m_window->dirdialog->setPath(gone);
    QVERIFY(QDir(gone).removeRecursively());
    const QStringList messages = compile();
    QVERIFY(!messages.isEmpty());
    QCOMPARE(messages.first(), "cannot write " + gone + "/flash.bat: " + QString::fromLocal8Bit(strerror(ENOENT)));
    QVERIFY(!QFile::exists(m_dir->filePath("multi.gba")));
    QVERIFY(!frozen());
}

QTEST_MAIN(CompileTest)
#include "tst_compile.moc"
