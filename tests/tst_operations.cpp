// The sequences behind "Compile multirom" and "Flash", without a window: the copy runs
// through the batch interpreter, the tool through a stand-in that records its command line.
#include "cart/CartOperations.h"
#include "multirom/CompileSequence.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"
#include "run/BatchInterpreter.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <future>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using run::CommandLine;
using run::RunOutcome;

Q_DECLARE_METATYPE(RunOutcome)

namespace {

// Runs a batch file the way the windows' runner does outside Windows, without a console.
RunOutcome runBatch(const CommandLine& command)
{
    return run::runBatchFile(command.program(), {});
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({".vm-*", "flash.bat"}, QDir::AllEntries | QDir::Hidden | QDir::System);
}

} // namespace

class OperationsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void compileRefusals_data();
    void compileRefusals();
    void failedCopyIsReportedAsFailure();
    void whatAKilledCompileLeftGoes();
    void replacingKeepsWhatTheUserHad_data();
    void replacingKeepsWhatTheUserHad();
    void oneCompileAtATimeInAFolder();
    void copyIsChecked_data();
    void copyIsChecked();
    void unwritableBatchFolderIsReported();
    void batchFilePlace_data();
    void batchFilePlace();
    void outputKinds_data();
    void outputKinds();
    void undeletableBatchFileReportsBoth();
    void unknownFolderComposesNothing();
    void saveWindowOperations_data();
    void saveWindowOperations();
    void flashOutcomes_data();
    void flashOutcomes();
    void ansiToolGetsWholePaths();

private:
    multirom::CompileRequest request(const QStringList& games) const;
    // A name in the test's folder, as the windows write paths.
    QString at(const QString& name) const { return testfiles::native(m_dir->filePath(name)); }

    QTemporaryDir* m_dir = nullptr;
};

void OperationsTest::init()
{
    m_dir = new QTemporaryDir;
    testfiles::write(at("gbaldr32.bin"), testfiles::pattern(32 * 1024, 1));
}

void OperationsTest::cleanup()
{
    delete m_dir;
}

multirom::CompileRequest OperationsTest::request(const QStringList& games) const
{
    multirom::CompileRequest request;
    request.loader = at("gbaldr32.bin");
    request.output = at("multi.gba");
    request.browserFolder = testfiles::native(m_dir->path());
    request.games = games;
    return request;
}

void OperationsTest::compileRefusals_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("messageStart");
    QTest::addColumn<QString>("named"); // the path the message names, relative to the folder

    auto row = [](const char* name, const char* arrangement, const char* messageStart, const char* named) {
        QTest::newRow(name) << QString(arrangement) << QString(messageStart) << QString(named);
    };
    // clang-format off
    row("a game that is gone", "missing game", "file not found: ", "gone.gba");
    row("the loader that is gone", "missing loader", "file not found: ", "gbaldr32.bin");
    row("a game that is a folder", "folder game", "cannot read the file: ", "folder.gba");
    row("the old multirom among the games", "output as game", "the output file is also an input of the multirom: ", "multi.gba");
    row("an empty game", "empty game", "this game is empty, so there is nothing of it to put in the multirom: ", "empty.gba");
    row("a read-only multirom", "read-only", "Access is denied: the multirom is read-only and stays as it is: ", "multi.gba");
#ifndef Q_OS_WIN // names Windows' file systems cannot hold, and links
    const char* unquotable = "a path with a double quote or a line break cannot be used: ";
    row("a double quote in a path", "quote", unquotable, "say \"hi\".gba");
    row("a line break in a path", "quote", unquotable, "two\nlines.gba");
    const char* batch = "the output leads to the batch file the compile writes and deletes: ";
    row("the output a link to flash.bat, not there yet", "link:flash.bat", batch, "flash.bat");
    row("the output a link to a leftover flash.bat", "link:leftover", batch, "flash.bat");
    row("the output a link to the loader", "link:gbaldr32.bin", "the output file is also an input of the multirom: ", "gbaldr32.bin");
    row("the output a link to a game", "link:a.gba", "the output file is also an input of the multirom: ", "a.gba");
#endif
    // clang-format on
}

void OperationsTest::compileRefusals()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, messageStart);
    QFETCH(QString, named);
    testfiles::write(at("a.gba"), "game a");
    testfiles::write(at("multi.gba"), "the good old multirom");
    QStringList games{at("a.gba")};
    if (arrangement == "missing game") {
        games.append(at("gone.gba"));
    } else if (arrangement == "missing loader") {
        QVERIFY(QFile::remove(at("gbaldr32.bin")));
    } else if (arrangement == "folder game") {
        QVERIFY(QDir(m_dir->path()).mkdir("folder.gba"));
        games.append(at("folder.gba"));
    } else if (arrangement == "output as game") {
        games.append(at("multi.gba"));
    } else if (arrangement == "quote") {
        testfiles::write(at(named), "q");
        games.append(at(named));
    } else if (arrangement == "empty game") {
        testfiles::write(at("empty.gba"), "");
        games.append(at("empty.gba"));
    } else if (arrangement == "read-only") {
        QVERIFY(QFile::setPermissions(at("multi.gba"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (arrangement.startsWith("link:")) {
        if (arrangement == "link:leftover")
            testfiles::write(at("flash.bat"), "@echo off\r\ncopy /b a+\"b\" c\r\n");
        QVERIFY(QFile::remove(at("multi.gba")));
        QVERIFY(QFile::link(at(named), at("multi.gba")));
    }
    const QByteArray before = testfiles::read(at("multi.gba"));
    const QByteArray batchBefore = testfiles::read(at("flash.bat"));

    bool ran = false;
    const multirom::CompileOutcome outcome = multirom::compileMultirom(request(games), [&](const CommandLine&) {
        ran = true;
        return RunOutcome::exited(0);
    });
    QCOMPARE(outcome.messages, QStringList{messageStart + at(named)});
    QVERIFY(!ran && !outcome.compiled && !outcome.filesTouched);
    QCOMPARE(testfiles::read(at("multi.gba")), before);
    QCOMPARE(testfiles::read(at("flash.bat")), batchBefore);
    QVERIFY(QDir(m_dir->path()).entryList({".vm-*"}, QDir::Files | QDir::Hidden).isEmpty());
}

void OperationsTest::failedCopyIsReportedAsFailure()
{
    testfiles::write(at("a.gba"), "game a");
    multirom::CompileRequest asked = request({at("a.gba")});
    asked.output = at("no such folder/multi.gba");
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    // The system's reason reaches the user, not only the console.
    QCOMPARE(outcome.messages.size(), 1);
#ifdef Q_OS_WIN
    const QString start = "compile failed: cannot write " + asked.output + ": ";
#else
    const QString start = "compile failed: cannot make a file in the folder " + at("no such folder") + ": ";
#endif
    QVERIFY2(outcome.messages.first().startsWith(start) && outcome.messages.first().size() > start.size(),
             qPrintable(outcome.messages.first()));
    QVERIFY(!outcome.compiled);
    QVERIFY(!QFile::exists(at("flash.bat")));
}

void OperationsTest::replacingKeepsWhatTheUserHad_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("failure"); // empty: compiled; %F: the multirom's folder
    QTest::newRow("a second name (hard link)") << "link"
                                               << "";
#ifndef Q_OS_WIN
    QTest::newRow("another user's multirom (as root)") << "owner"
                                                       << "";
    QTest::newRow("a folder that takes no new file, the multirom writable") << "locked"
                                                                            << "";
    QTest::newRow("a folder that takes no new file, no multirom yet")
        << "locked, none"
        << "compile failed: cannot make a file in the folder %F: Permission denied";
#endif
}

// Where a rename would change what the user had (the owner, a second name) or the folder allows none,
// the multirom is written into the file that stands there.
void OperationsTest::replacingKeepsWhatTheUserHad()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, failure);
#ifdef Q_OS_WIN
    const bool root = false;
#else
    const bool root = ::geteuid() == 0;
#endif
    if (arrangement.startsWith("locked") && root)
        QSKIP("a folder's permissions do not stop root");
    if (arrangement == "owner" && !root)
        QSKIP("only root can give a file to another user");
    testfiles::write(at("a.gba"), "game a");
    QVERIFY(QDir(m_dir->path()).mkdir("out"));
    multirom::CompileRequest asked = request({at("a.gba")});
    asked.output = at("out/multi.gba");
    if (arrangement != "locked, none")
        testfiles::write(asked.output, QByteArray(40000, 'o')); // longer than the new one: its end must go
    if (arrangement == "link") {
#ifdef Q_OS_WIN
        QVERIFY(CreateHardLinkW(reinterpret_cast<const wchar_t*>(at("out/second.gba").utf16()),
                                reinterpret_cast<const wchar_t*>(asked.output.utf16()), nullptr));
#else
        QCOMPARE(
            ::link(QFile::encodeName(asked.output).constData(), QFile::encodeName(at("out/second.gba")).constData()),
            0);
#endif
    }
#ifndef Q_OS_WIN
    if (arrangement == "owner")
        QCOMPARE(::chown(QFile::encodeName(asked.output).constData(), 65534, 65534), 0);
    if (arrangement.startsWith("locked"))
        QVERIFY(QFile::setPermissions(at("out"), QFile::ReadOwner | QFile::ExeOwner));
#endif
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    QFile::setPermissions(at("out"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    failure.replace("%F", at("out"));
    QCOMPARE(outcome.messages, failure.isEmpty() ? QStringList() : QStringList{failure});
    QCOMPARE(outcome.compiled, failure.isEmpty());
    if (!failure.isEmpty())
        return;
    const QByteArray expected = testfiles::read(at("gbaldr32.bin")) + "game a";
    QCOMPARE(testfiles::read(asked.output), expected);
    if (arrangement == "link")
        QCOMPARE(testfiles::read(at("out/second.gba")), expected);
    QCOMPARE(QFileInfo(asked.output).ownerId(), arrangement == "owner" ? 65534u : QFileInfo(at("a.gba")).ownerId());
    QVERIFY(leftovers(at("out")).isEmpty());
    QVERIFY(QDir::temp()
                .entryList({".vm-" + QString::number(QCoreApplication::applicationPid()) + "-*"},
                           QDir::Files | QDir::Hidden)
                .isEmpty());
}

// The unfinished multirom of a Vellmore that was killed goes with the next compile there; what a running
// Vellmore writes, an older backup kept aside, and the user's own dot files stay.
void OperationsTest::whatAKilledCompileLeftGoes()
{
    testfiles::write(at("a.gba"), "game a");
    const QString running = ".vm-" + QString::number(QCoreApplication::applicationPid()) + "-aB3dE9";
    const QStringList staying{running, ".vm-kept-aB3dE9", ".vm-notes", ".vm-12x-aB3dE9"};
    for (const QString& name : staying + QStringList{".vm-999999999-aB3dE9"})
        testfiles::write(at(name), "left");
    const multirom::CompileOutcome outcome = multirom::compileMultirom(request({at("a.gba")}), runBatch);
    QVERIFY2(outcome.compiled, qPrintable(outcome.messages.join('\n')));
    QStringList left = QDir(m_dir->path()).entryList({".vm-*"}, QDir::Files | QDir::Hidden);
    left.sort();
    QStringList expected = staying;
    expected.sort();
    QCOMPARE(left, expected);
}

// Two compiles into one folder at once (two windows) would take each other's flash.bat for a
// leftover: the second is refused while the first holds the folder.
void OperationsTest::oneCompileAtATimeInAFolder()
{
    testfiles::write(at("a.gba"), "game a");
    std::promise<void> locked;
    std::promise<void> compiled;
    std::thread firstCompile([&] {
        const platform::FolderLock lock(m_dir->path());
        locked.set_value();
        compiled.get_future().wait();
    });
    locked.get_future().wait();
    const multirom::CompileOutcome second = multirom::compileMultirom(request({at("a.gba")}), runBatch);
    compiled.set_value();
    firstCompile.join();
    QCOMPARE(second.messages, QStringList{"another compile is running in " + QDir::toNativeSeparators(m_dir->path()) +
                                          ": wait until it has ended, then compile again"});
    QVERIFY(!second.filesTouched && !QFile::exists(at("flash.bat")));
    QVERIFY(multirom::compileMultirom(request({at("a.gba")}), runBatch).compiled);
}

void OperationsTest::copyIsChecked_data()
{
    QTest::addColumn<QString>("before");  // what stands at the output: "" or "old"
    QTest::addColumn<QString>("copy");    // what the stand-in for the copy does
    QTest::addColumn<QString>("message"); // %O: the output, %B: the batch file, %N: the expected size

    // clang-format off
    QTest::newRow("ends well, writes nothing") << "" << "nothing" << "compile failed: %O was not written";
    QTest::newRow("ends well, leaves the old multirom") << "old" << "nothing"
        << "compile failed: the copy ended without writing %O; the file there is the one from before";
    QTest::newRow("ends well, writes a short file") << "old" << "short"
        << "compile failed: the copy gave 5 bytes, expected %N (a file changed while it was read); %O stays as it was";
    QTest::newRow("stopped by the user") << "old" << "stopped" << "compile stopped: the console window was closed";
    QTest::newRow("not started") << "" << "not started" << "compile failed: the batch file %B could not be started: Exec format error";
    // clang-format on
}

void OperationsTest::copyIsChecked()
{
    QFETCH(QString, before);
    QFETCH(QString, copy);
    QFETCH(QString, message);
    testfiles::write(at("a.gba"), "game a");
    const QString output = at("multi.gba");
    const QByteArray old = testfiles::read(at("gbaldr32.bin")) + "game b";
    if (before == "old")
        testfiles::write(output, old);
    const multirom::CompileOutcome outcome =
        multirom::compileMultirom(request({at("a.gba")}), [&](const CommandLine& run) {
            // The copy writes where the batch file's copy line says: its last quoted path.
            const QList<QByteArray> words = testfiles::read(run.program()).trimmed().split('"');
            if (copy == "short")
                testfiles::write(QString::fromLocal8Bit(words.value(words.size() - 2)), "short");
            if (copy == "stopped")
                return RunOutcome::stopped("the console window was closed");
            return copy == "not started" ? RunOutcome::notStarted("Exec format error") : RunOutcome::exited(0);
        });
    const qint64 expected = QFileInfo(at("gbaldr32.bin")).size() + 6;
    QCOMPARE(outcome.messages, QStringList{QString(message)
                                               .replace("%O", output)
                                               .replace("%B", at("flash.bat"))
                                               .replace("%N", QString::number(expected))});
    QVERIFY(!outcome.compiled);
    QCOMPARE(testfiles::read(output), before == "old" ? old : QByteArray());
    QCOMPARE(leftovers(m_dir->path()), QStringList());
}

void OperationsTest::unwritableBatchFolderIsReported()
{
    testfiles::write(at("a.gba"), "game a");
    multirom::CompileRequest asked = request({at("a.gba")});
    // The browser shows a folder that has gone since: flash.bat cannot be written there.
    asked.browserFolder = at("gone");
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    QVERIFY(!outcome.messages.isEmpty());
    QCOMPARE(outcome.messages.first(),
             "cannot write " + at("gone/flash.bat") + ": " + testfiles::whyNotWritten(at("gone/flash.bat")));
    QVERIFY(!QFile::exists(at("multi.gba")));
    QVERIFY(!outcome.compiled);
}

void OperationsTest::batchFilePlace_data()
{
    QTest::addColumn<QString>("standing"); // what stands where flash.bat goes
    QTest::addColumn<bool>("compiles");

    QTest::newRow("a file of the user's") << "file" << false;
#ifndef Q_OS_WIN // links and FIFOs of the file system
    QTest::newRow("a link to the user's notes") << "link" << false;
    QTest::newRow("a link that leads nowhere") << "dangling link" << false;
    QTest::newRow("a FIFO") << "fifo" << false;
#endif
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("one an earlier compile left behind") << "leftover" << true;
}

void OperationsTest::batchFilePlace()
{
    QFETCH(QString, standing);
    QFETCH(bool, compiles);
    const QString batch = at("flash.bat");
    const QString notes = at("notes.txt");
    const QByteArray userText = "my own flash.bat: do not lose me\r\n";
    testfiles::write(notes, userText);
    testfiles::write(at("a.gba"), "game a");
    testfiles::write(at("multi.gba"), "the good old multirom");
    if (standing == "file")
        testfiles::write(batch, userText);
    else if (standing == "link")
        QVERIFY(QFile::link(notes, batch));
    else if (standing == "dangling link")
        QVERIFY(QFile::link(at("nowhere.txt"), batch));
#ifndef Q_OS_WIN
    else if (standing == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(batch).constData(), 0644), 0);
#endif
    else if (standing == "folder")
        QVERIFY(QDir(m_dir->path()).mkdir("flash.bat"));
    else
        testfiles::write(batch, "@echo off\r\ncopy /b old+\"older.gba\" oldest\r\n");

    const multirom::CompileOutcome outcome = multirom::compileMultirom(request({at("a.gba")}), runBatch);
    QCOMPARE(outcome.compiled, compiles);
    if (compiles) {
        QCOMPARE(testfiles::read(at("multi.gba")), testfiles::read(at("gbaldr32.bin")) + "game a");
        QVERIFY(!QFileInfo::exists(batch));
        return;
    }
    QCOMPARE(outcome.messages, QStringList{"there is already something named flash.bat here: " + batch +
                                           "\nplease move it elsewhere, then compile again"});
    QCOMPARE(testfiles::read(notes), userText);
    QCOMPARE(testfiles::read(at("multi.gba")), QByteArray("the good old multirom"));
    QVERIFY(!QFileInfo::exists(at("nowhere.txt")));
    if (standing == "file")
        QCOMPARE(testfiles::read(batch), userText);
    QVERIFY(QFileInfo(batch).isSymLink() || QFileInfo::exists(batch));
}

void OperationsTest::outputKinds_data()
{
    QTest::addColumn<QString>("output"); // what stands at the output's place
    QTest::addColumn<bool>("compiles");

    QTest::newRow("a folder") << "folder" << false;
#ifndef Q_OS_WIN // links, modes and FIFOs of the file system; Windows limits the whole path, not the name
    QTest::newRow("a name near the longest the system takes") << "long name" << true;
    QTest::newRow("a link to a multirom elsewhere") << "link" << true;
    QTest::newRow("a link to nothing yet") << "dangling link" << true;
    QTest::newRow("a file with its own mode") << "mode 0640" << true;
    QTest::newRow("a link to a device") << "link to /dev/null" << false;
    QTest::newRow("a FIFO") << "fifo" << false;
#endif
}

void OperationsTest::outputKinds()
{
    QFETCH(QString, output);
    QFETCH(bool, compiles);
    testfiles::write(at("a.gba"), "game a");
    const QByteArray expected = testfiles::read(at("gbaldr32.bin")) + "game a";
    const QString elsewhere = at("elsewhere/multi.gba");
    QString path = at("multi.gba");
    if (output == "link") {
        testfiles::write(elsewhere, "the old one");
        QVERIFY(QFile::link(elsewhere, path));
    } else if (output == "dangling link") {
        QVERIFY(QDir(m_dir->path()).mkdir("elsewhere"));
        QVERIFY(QFile::link(elsewhere, path));
    } else if (output == "mode 0640") {
        testfiles::write(path, "old");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    } else if (output == "long name") {
        path = at(QString(250, 'm') + ".gba");
    } else if (output == "link to /dev/null") {
        QVERIFY(QFile::link("/dev/null", path));
#ifndef Q_OS_WIN
    } else if (output == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
#endif
    } else {
        QVERIFY(QDir(m_dir->path()).mkdir("multi.gba"));
    }
    const QFileInfo before(path);
    multirom::CompileRequest asked = request({at("a.gba")});
    asked.output = path;
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    QCOMPARE(outcome.compiled, compiles);
    QVERIFY(leftovers(m_dir->path()).isEmpty());
    QVERIFY(leftovers(at("elsewhere")).isEmpty());
    if (!compiles) {
        QCOMPARE(outcome.messages,
                 QStringList{"the output is not an ordinary file and cannot be replaced by the multirom: " + path});
        QCOMPARE(QFileInfo(path).isSymLink(), before.isSymLink());
        QCOMPARE(QFileInfo(path).isDir(), before.isDir());
        return;
    }
    QCOMPARE(testfiles::read(path), expected);
    if (output.contains("link")) {
        QVERIFY2(QFileInfo(path).isSymLink(), "the link stays a link");
        QCOMPARE(testfiles::read(elsewhere), expected);
    }
#ifndef Q_OS_WIN
    if (output == "mode 0640") {
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
    }
#endif
}

void OperationsTest::undeletableBatchFileReportsBoth()
{
    testfiles::write(at("a.gba"), "game a");
    const QString batch = at("flash.bat");
    // While the copy runs, something puts a folder with content in the batch file's place.
    auto runThenBlock = [&](const CommandLine& command) {
        const RunOutcome ran = runBatch(command);
        QFile::remove(batch);
        testfiles::write(batch + "/inside", "x");
        return ran;
    };
    const multirom::CompileOutcome outcome = multirom::compileMultirom(request({at("a.gba")}), runThenBlock);
    QCOMPARE(outcome.messages, QStringList{"cannot delete " + batch + ": " + testfiles::whyNotDeleted(batch)});
    QVERIFY(outcome.compiled);
}

void OperationsTest::unknownFolderComposesNothing()
{
    // An unknown browser folder is never taken for the root.
    testfiles::write(at("a.gba"), "game a");
    multirom::CompileRequest asked = request({at("a.gba")});
    asked.browserFolder.clear();
    bool ran = false;
    const multirom::CompileOutcome compiled = multirom::compileMultirom(asked, [&](const CommandLine&) {
        ran = true;
        return RunOutcome::exited(0);
    });
    QCOMPARE(compiled.messages, QStringList{"no folder is open in the file browser"});
    QVERIFY(!ran && !compiled.filesTouched);
    const cart::EraseOutcome erased = cart::eraseMultirom(QString());
    QVERIFY(!erased.gone);
    QCOMPARE(erased.message, QString("no folder is open in the file browser"));
}

void OperationsTest::flashOutcomes_data()
{
    QTest::addColumn<QString>("multirom");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("waitStep");
    QTest::addColumn<RunOutcome>("ran");
    QTest::addColumn<int>("missing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("commandLine"); // empty: nothing is run

    const RunOutcome done = RunOutcome::exited(0);
    auto row = [](const char* name, const char* multirom, const char* tool, const char* waitStep, const RunOutcome& ran,
                  cart::ToolChoice missing, const char* message, const char* commandLine) {
        QTest::newRow(name) << QString(multirom) << QString(tool) << QString(waitStep) << ran << int(missing)
                            << QString(message) << QString(commandLine);
    };
    const cart::ToolChoice none = cart::ToolChoice::None;
    // clang-format off
    row("no multirom, no tool", "", "", "", done, cart::ToolChoice::File, "you have to select the multi.gba to flash", "");
    row("no tool", "m.gba", "", "", done, cart::ToolChoice::Tool, "please select your Orbick location", "");
    row("done, empty wait step", "m.gba", "OB", "", done, none, "Flashed!", "OB -2 -w 0 -l 1 -p m.gba");
    row("tool failed", "m.gba", "OB", "7", RunOutcome::exited(5), none, "flash failed: exit code 5", "OB -2 -w 7 -l 1 -p m.gba");
    row("exit code above 2^31", "m.gba", "OB", "0", RunOutcome::exited(0xC0000005u), none, "flash failed: exit code -1073741819", "OB -2 -w 0 -l 1 -p m.gba");
    row("tool killed", "m.gba", "OB", "0", RunOutcome::signalled(9), none, "flash failed: killed by signal 9", "OB -2 -w 0 -l 1 -p m.gba");
    row("tool not started", "m.gba", "OB", "0", RunOutcome::notStarted(), none, "could not start OB", "OB -2 -w 0 -l 1 -p m.gba");
    // clang-format on
}

void OperationsTest::flashOutcomes()
{
    QFETCH(QString, multirom);
    QFETCH(QString, tool);
    QFETCH(QString, waitStep);
    QFETCH(RunOutcome, ran);
    QFETCH(int, missing);
    QFETCH(QString, message);
    QFETCH(QString, commandLine);
    cart::PortSettings port;
    port.toolPath = tool;
    port.waitStep = waitStep;
    QString seen;
    const cart::ToolOutcome outcome = cart::flashMultirom(port, true, multirom, [&](const CommandLine& command) {
        seen = command.toString();
        return ran;
    });
    QCOMPARE(int(outcome.missing), missing);
    QCOMPARE(outcome.message, message);
    QCOMPARE(seen, commandLine);
    QCOMPARE(outcome.succeeded, message == "Flashed!");
    QCOMPARE(outcome.waitStepFilled, !commandLine.isEmpty() && waitStep.isEmpty());
}

void OperationsTest::saveWindowOperations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("file");     // relative to the folder; "" for none
    QTest::addColumn<int>("number");       // bank, or chip size in Mbit
    QTest::addColumn<QString>("standing"); // what stands at the file before the run
    QTest::addColumn<RunOutcome>("ran");
    QTest::addColumn<QString>("toolWrites"); // "new" (whole), "short" (half), "empty" or "" for nothing
    QTest::addColumn<bool>("waitStepFilled");
    QTest::addColumn<QString>("message");   // %F: the file's path
    QTest::addColumn<QString>("arguments"); // empty: nothing is run

    const RunOutcome done = RunOutcome::exited(0);
    auto row = [](const char* name, const char* operation, const char* tool, const char* file, int number,
                  const char* standing, const RunOutcome& ran, const char* writes, bool filled, const QString& message,
                  const char* arguments) {
        QTest::newRow(name) << QString(operation) << QString(tool) << QString(file) << number << QString(standing)
                            << ran << QString(writes) << filled << message << QString(arguments);
    };
    const QString stale = "backup failed: the tool ended without writing %F; the file there is the one from before";
    const QString notAFile = "the output is not an ordinary file and cannot be replaced by the backup: %F";
    const QString putBack = "the file that was there before is back in its place";
    // clang-format off
    // The order of the checks, and where an empty wait step becomes "0" in each.
    row("backup: tool and file missing", "backup", "", "", 1, "", done, "new", false, "please select your Orbick location", "");
    row("backup: file missing", "backup", "OB", "", 1, "", done, "new", true, "please select an output file", "");
    row("restore: tool missing", "restore", "", "", 1, "", done, "new", true, "please select your Orbick location", "");
    row("restore: saved game missing", "restore", "OB", "", 1, "", done, "new", true, "please select your saved game file", "");
    row("restore: saved game not on disk", "restore", "OB", "gone.sav", 1, "", done, "new", true, "file not found: %F", "");
    row("cart: tool and file missing", "cart", "", "", 32, "", done, "new", false, "please select your Orbick location", "");
    row("cart: file missing", "cart", "OB", "", 32, "", done, "new", false, "please select an output file", "");
    // Done, with the command lines the tool receives.
    row("backup bank 3, 128K", "backup", "OB", "game.sav", 3, "", done, "new", true, "128K save backed up to %F", "-2 -w 0 -l 1 -b 3 3 %F");
    row("backup over an older one", "backup", "OB", "game.sav", 3, "old", done, "new", true, "128K save backed up to %F", "-2 -w 0 -l 1 -b 3 3 %F");
#ifndef Q_OS_WIN
    row("backup through a link to a file", "backup", "OB", "game.sav", 3, "file link", done, "new", true, "128K save backed up to %F", "-2 -w 0 -l 1 -b 3 3 %F");
#endif
    row("restore into bank 4", "restore", "OB", "saved.sav", 4, "", done, "new", true, "save restored!", "-2 -w 0 -l 1 -r 4 %F");
    row("cart at 256 Mbit", "cart", "OB", "cart.gba", 256, "", done, "new", true, "256mbit game backed up to %F", "-2 -w 0 -l 1 -c 256 -s %F");
    // A failing tool never gives a success message.
    row("backup: tool failed", "backup", "OB", "game.sav", 1, "", RunOutcome::exited(5), "", true, "backup failed: exit code 5", "-2 -w 0 -l 1 -b 1 3 %F");
    row("backup: file not written", "backup", "OB", "game.sav", 1, "", done, "", true, "backup failed: %F was not written", "-2 -w 0 -l 1 -b 1 3 %F");
    row("backup: an older one left as it stood", "backup", "OB", "game.sav", 1, "old", done, "", true, stale, "-2 -w 0 -l 1 -b 1 3 %F");
    row("backup: an empty file", "backup", "OB", "game.sav", 1, "", done, "empty", true, "backup failed: %F was not written", "-2 -w 0 -l 1 -b 1 3 %F");
    row("cart: an older one left as it stood", "cart", "OB", "cart.gba", 8, "old", done, "", true, stale, "-2 -w 0 -l 1 -c 8 -s %F");
    row("cart: an empty file over an older one", "cart", "OB", "cart.gba", 8, "old", done, "empty", true, "backup failed: %F is empty; " + putBack, "-2 -w 0 -l 1 -c 8 -s %F");
    // A backup of another size than the one asked for is cut short: a failure, and the older one comes back.
    row("backup cut short", "backup", "OB", "game.sav", 3, "", done, "short", true, "backup failed: %F holds 65,536 bytes, 131,072 expected", "-2 -w 0 -l 1 -b 3 3 %F");
    row("cart cut short over an older one", "cart", "OB", "cart.gba", 8, "old", done, "short", true, "backup failed: %F holds 524,288 bytes, 1,048,576 expected; " + putBack, "-2 -w 0 -l 1 -c 8 -s %F");
    row("backup: tool failed after writing over an older one", "backup", "OB", "game.sav", 3, "old", RunOutcome::exited(5), "short", true, "backup failed: exit code 5; " + putBack, "-2 -w 0 -l 1 -b 3 3 %F");
    row("restore: tool killed", "restore", "OB", "saved.sav", 2, "", RunOutcome::signalled(9), "new", true, "restore failed: killed by signal 9", "-2 -w 0 -l 1 -r 2 %F");
    row("cart: tool missing on disk", "cart", "OB", "cart.gba", 8, "", RunOutcome::notStarted(), "", true, "could not start OB", "-2 -w 0 -l 1 -c 8 -s %F");
    row("backup: tool not started, with the reason", "backup", "OB", "game.sav", 1, "", RunOutcome::notStarted("Permission denied"), "", true, "could not start OB: Permission denied", "-2 -w 0 -l 1 -b 1 3 %F");
    // Stopped by the user: told as such, never as a failure of the tool nor as done.
    row("backup: console closed", "backup", "OB", "game.sav", 1, "old", RunOutcome::stopped("the console window was closed"), "", true, "backup stopped: the console window was closed", "-2 -w 0 -l 1 -b 1 3 %F");
    row("restore: stopped", "restore", "OB", "saved.sav", 1, "", RunOutcome::stopped("Stop was pressed in the console window"), "", true, "restore stopped: Stop was pressed in the console window", "-2 -w 0 -l 1 -r 1 %F");
    // A backup's file that is no ordinary file is refused before the tool runs.
    row("backup into a folder", "backup", "OB", "game.sav", 1, "folder", done, "", true, notAFile, "");
#ifndef Q_OS_WIN // links and FIFOs of the file system
    row("backup into a FIFO", "backup", "OB", "game.sav", 1, "fifo", done, "", true, notAFile, "");
    row("cart into a link to a device", "cart", "OB", "cart.gba", 8, "device link", done, "", true, notAFile, "");
    row("cart into a circle of links", "cart", "OB", "cart.gba", 8, "loop", done, "", true, "the output is a link that leads round in a circle of links: %F", "");
#endif
    // clang-format on
}

void OperationsTest::saveWindowOperations()
{
    QFETCH(QString, operation);
    QFETCH(QString, tool);
    QFETCH(QString, file);
    QFETCH(int, number);
    QFETCH(QString, standing);
    QFETCH(RunOutcome, ran);
    QFETCH(QString, toolWrites);
    QFETCH(bool, waitStepFilled);
    QFETCH(QString, message);
    QFETCH(QString, arguments);
    const QString path = file.isEmpty() ? QString() : at(file);
    const QString elsewhere = at("elsewhere.bin");
    testfiles::write(at("saved.sav"), "a saved game");
    const QByteArray older = "an older backup, the same size as the new";
    if (standing == "old") {
        testfiles::write(path, older);
    } else if (standing == "file link") {
        testfiles::write(elsewhere, older);
        QVERIFY(QFile::link(elsewhere, path));
#ifndef Q_OS_WIN
    } else if (standing == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
#endif
    } else if (standing == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (standing == "device link") {
        QVERIFY(QFile::link("/dev/null", path));
    } else if (standing == "loop") {
        QVERIFY(QFile::link(path + ".2", path));
        QVERIFY(QFile::link(path, path + ".2"));
    }
    cart::PortSettings port;
    port.toolPath = tool;
    port.waitStep = QString();
    QString seen;
    int filled = 0;
    bool filledBeforeRun = false;
    auto recordingTool = [&](const CommandLine& command) {
        seen = command.arguments().join(' ');
        filledBeforeRun = filled == 1;
        // A whole backup: 128K (size code 3), or the chip's megabits of 131,072 bytes.
        const int whole = operation == "backup" ? 131072 : number * 131072;
        if (!toolWrites.isEmpty() && operation != "restore")
            testfiles::write(path, QByteArray(toolWrites == "new"     ? whole
                                              : toolWrites == "short" ? whole / 2
                                                                      : 0,
                                              'n'));
        return ran;
    };
    const cart::WaitStepFilled shown = [&] { ++filled; };
    cart::ToolOutcome outcome;
    if (operation == "backup")
        outcome = cart::backupSave(port, number, cart::SaveSize::K128, path, recordingTool, shown);
    else if (operation == "restore")
        outcome = cart::restoreSave(port, number, path, recordingTool, shown);
    else
        outcome = cart::backupCart(port, number, path, recordingTool, shown);
    QCOMPARE(outcome.message, QString(message).replace("%F", path));
    QCOMPARE(seen, QString(arguments).replace("%F", path));
    QCOMPARE(outcome.waitStepFilled, waitStepFilled);
    // The window shows "0" at that step, before the tool runs, not once it has ended.
    QCOMPARE(filled, waitStepFilled ? 1 : 0);
    QCOMPARE(filledBeforeRun, waitStepFilled && !arguments.isEmpty());
    QCOMPARE(outcome.succeeded, ran.succeeded() && !message.contains("failed") && !arguments.isEmpty());
    if (standing == "file link" && outcome.succeeded) {
        QVERIFY2(QFileInfo(path).isSymLink(), "the link stays a link");
        QCOMPARE(testfiles::read(elsewhere), testfiles::read(path));
    }
    if (standing == "old" && !outcome.succeeded)
        QCOMPARE(testfiles::read(path), older); // what the user had is there as before
    QCOMPARE(QDir(m_dir->path()).entryList({".vm-*"}, QDir::Files | QDir::Hidden), QStringList()); // nothing kept aside
    if (standing == "fifo" || standing == "device link")
        QVERIFY(!QFileInfo(path).isFile() || QFileInfo(path).isSymLink());
}

// A folder named with letters Windows' ANSI code page lacks: an old tool gets each path in a form it
// reads whole (its short name, or its folder's for a file it makes), never with "?".
void OperationsTest::ansiToolGetsWholePaths()
{
#ifndef Q_OS_WIN
    QSKIP("only Windows hands a tool its command line in a code page");
#else
    const QString folder = at(QString::fromUtf8("\xc5\x81\xc3\xb3"
                                                "d\xc5\xba \xe6\x97\xa5\xe6\x9c\xac"));
    QVERIFY(QDir().mkpath(folder));
    const QString saved = folder + "\\saved.sav";
    testfiles::write(saved, "a saved game");
    cart::PortSettings port;
    port.toolPath = "OB";
    QStringList received;
    auto tool = [&](const CommandLine& command) {
        const QStringList arguments = command.arguments();
        received.append(arguments.last());
        if (arguments.contains("-b") || arguments.contains("-c")) // a 32K save, an 8 Mbit cart
            testfiles::write(arguments.last(), QByteArray(arguments.contains("-b") ? 32768 : 1048576, 't'));
        return RunOutcome::exited(0);
    };
    QVERIFY(cart::restoreSave(port, 1, saved, tool).succeeded);
    QVERIFY(cart::backupSave(port, 1, cart::SaveSize::K32, folder + "\\new.sav", tool).succeeded);
    QVERIFY(cart::flashMultirom(port, true, saved, tool).succeeded);
    QCOMPARE(received.size(), 3);
    for (const QString& path : received) {
        QVERIFY2(platform::toolArgumentEncoder()(path).has_value(), qPrintable(path));
        QVERIFY2(platform::sameFile(path, saved) || platform::sameFile(path, folder + "\\new.sav"), qPrintable(path));
    }
    QCOMPARE(testfiles::read(folder + "\\new.sav").size(), 32768);
    // A file to make whose own name the code page lacks: made empty first, for its short name; a tool
    // that fails leaves nothing behind.
    const QString unnamed = folder + QString::fromUtf8("\\\xe6\x97\xa5.sav");
    const cart::ToolOutcome failed =
        cart::backupCart(port, 8, unnamed, [](const CommandLine&) { return RunOutcome::exited(5); });
    QCOMPARE(failed.message, QString("backup failed: exit code 5"));
    QVERIFY(!QFileInfo::exists(unnamed));
    QVERIFY(cart::backupCart(port, 8, unnamed, tool).succeeded);
    QCOMPARE(testfiles::read(unnamed).size(), 1048576);
#endif
}

QTEST_MAIN(OperationsTest)
#include "tst_operations.moc"
