// Running a program and waiting for it: exit codes, signals, batch files, the console window.
#include "cart/CartOperations.h"
#include "multirom/CompileSequence.h"
#include "platform/Platform.h"
#include "runner/ConsoleWindow.h"
#include "runner/EndRequest.h"
#include "runner/OutputPassing.h"
#include "runner/ProcessRunner.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#else
#include <windows.h>
#endif

using run::CommandLine;
using run::RunOutcome;
using runner::ExecCmd;

namespace {

// A stand-in tool in dir, doing steps separated by ";".
QString tool(const QTemporaryDir& dir, const QString& name, const QString& steps)
{
    return testfiles::writeStandIn(dir.filePath(name), steps.split(QLatin1Char(';')));
}

ConsoleWindow* shownConsole()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "console" && widget->isVisible())
            return qobject_cast<ConsoleWindow*>(widget);
    }
    return nullptr;
}

// While it lives, the test's standard output and error go to fd (which it then owns).
class OutputRedirected {
public:
    explicit OutputRedirected(int fd) : m_out(::dup(STDOUT_FILENO)), m_err(::dup(STDERR_FILENO))
    {
        std::fflush(nullptr);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~OutputRedirected()
    {
        std::fflush(nullptr);
        ::dup2(m_out, STDOUT_FILENO);
        ::dup2(m_err, STDERR_FILENO);
        ::close(m_out);
        ::close(m_err);
    }
    OutputRedirected(const OutputRedirected&) = delete;
    OutputRedirected& operator=(const OutputRedirected&) = delete;

private:
    int m_out;
    int m_err;
};
// While it lives, what the runner passes on to the test's own output goes nowhere: a flood of
// it would fill the log.
class OutputQuiet {
public:
#ifdef Q_OS_WIN
    OutputQuiet() : m_redirected(::open("NUL", O_WRONLY)) {}
#else
    OutputQuiet() : m_redirected(::open("/dev/null", O_WRONLY)) {}
#endif

private:
    OutputRedirected m_redirected;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class ProcessRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void outcomes_data();
    void outcomes();
    void signedExitCodes();
    void argumentsArriveAsAVector();
    void seesOurDirectoryAndEnvironment();
    void batchFileRunsThroughTheInterpreter();
    void userInputIsBlockedWhileRunning();
    void misbehavingTools_data();
    void misbehavingTools();
    void stopEndsTheWholeTool_data();
    void stopEndsTheWholeTool();
    void askedToEndStopsTheToolFirst();
    void theRunEndsWithTheWholeTool_data();
    void theRunEndsWithTheWholeTool();
#ifdef Q_OS_WIN
    void windowsInItsOwnWords_data();
    void windowsInItsOwnWords();
    void aProcessTreeEndsWhole();
#endif
    void consoleShowsOutputWhileRunning();
#ifndef Q_OS_WIN // writes that end a process: a closed pipe, a file-size limit
    void writesThatFailDoNotEndVellmore_data();
    void writesThatFailDoNotEndVellmore();
#endif
};

void ProcessRunnerTest::cleanup()
{
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void ProcessRunnerTest::outcomes_data()
{
    QTest::addColumn<QString>("steps"); // empty: no program at all
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("succeeded");

    auto row = [](const char* name, const char* steps, RunOutcome::Kind kind, int code) {
        QTest::newRow(name) << QString(steps) << int(kind) << code << (kind == RunOutcome::Kind::Exited && code == 0);
    };
    row("exit 0", "exit 0", RunOutcome::Kind::Exited, 0);
    row("exit 3", "exit 3", RunOutcome::Kind::Exited, 3);
    row("exit 253", "exit 253", RunOutcome::Kind::Exited, 253);
#ifdef Q_OS_WIN
    row("ended for a fault", "crash", RunOutcome::Kind::Crashed, qint32(0xC0000005u));
#else
    row("killed by a signal", "crash", RunOutcome::Kind::Signalled, 9);
#endif
    row("no such program", "", RunOutcome::Kind::NotStarted, -1);
}

void ProcessRunnerTest::outcomes()
{
    QFETCH(QString, steps);
    QFETCH(int, kind);
    QFETCH(int, code);
    QFETCH(bool, succeeded);
    QTemporaryDir dir;
    const QString program = steps.isEmpty() ? dir.filePath("missing tool") : tool(dir, "tool", steps);
    const RunOutcome outcome = ExecCmd(CommandLine(program));
    QCOMPARE(int(outcome.kind), kind);
    QCOMPARE(outcome.code, code);
    QCOMPARE(outcome.succeeded(), succeeded);
    if (outcome.kind == RunOutcome::Kind::NotStarted)
        QCOMPARE(outcome.exitCode(), -1);
}

void ProcessRunnerTest::signedExitCodes()
{
    QCOMPARE(RunOutcome::exited(0xFFFFFFFDu).exitCode(), -3);
    QCOMPARE(RunOutcome::exited(0xC0000005u).exitCode(), qint32(0xC0000005u));
    QCOMPARE(RunOutcome::exited(7).describe(), QString("exit code 7"));
    QCOMPARE(RunOutcome::signalled(15).describe(), QString("killed by signal 15"));
    QCOMPARE(RunOutcome::crashed(0xC0000005u).describe(), QString("crashed with status 0xC0000005"));
}

void ProcessRunnerTest::argumentsArriveAsAVector()
{
    QTemporaryDir dir;
    const QString program = tool(dir, "my tool", "args");
    const QStringList arguments{"-2", "-w", " 5", "-p", "/a b/ü & c%d\"e.gba"};
    QCOMPARE(ExecCmd(CommandLine(program, arguments)).code, 0);
    QCOMPARE(QString::fromUtf8(testfiles::read(program + ".args")), QString("[-2][-w][ 5][-p][/a b/ü & c%d\"e.gba]"));
}

void ProcessRunnerTest::seesOurDirectoryAndEnvironment()
{
    QTemporaryDir dir;
    const QString program = tool(dir, "tool", "where;env VELLMORE_PROBE");
    testfiles::CurrentDirectory cwd(dir.path());
    qputenv("VELLMORE_PROBE", "here");
    QCOMPARE(ExecCmd(CommandLine(program)).code, 0);
    qunsetenv("VELLMORE_PROBE");
    QCOMPARE(QDir(QString::fromUtf8(testfiles::read(program + ".where"))).canonicalPath(),
             QDir(dir.path()).canonicalPath());
    QCOMPARE(testfiles::read(program + ".env"), QByteArray("here"));
}

void ProcessRunnerTest::batchFileRunsThroughTheInterpreter()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), "AB");
    testfiles::write(dir.filePath("c d.gba"), "CD");
    const QString line = QString("copy /b \"%1\"+\"%2\" \"%3\"")
                             .arg(dir.filePath("a.bin"), dir.filePath("c d.gba"), dir.filePath("m.gba"));
    testfiles::write(dir.filePath("FLASH.BAT"), "@echo off\r\n" + line.toUtf8() + "\r\n");
    const RunOutcome ok = ExecCmd(CommandLine::ownBatchFile(dir.filePath("FLASH.BAT")));
    QVERIFY(ok.succeeded());
    QCOMPARE(testfiles::read(dir.filePath("m.gba")), QByteArray("ABCD"));

    testfiles::write(dir.filePath("bad.bat"), "@echo off\r\nformat c:\r\n");
    const RunOutcome bad = ExecCmd(CommandLine::ownBatchFile(dir.filePath("bad.bat")));
    QCOMPARE(bad.kind, RunOutcome::Kind::Exited);
    QCOMPARE(bad.code, 9009);

    // A tool named like a batch file gets its arguments: outside Windows it is a program like any other.
    const QString named = tool(dir, "ob.bat", "args;cmdline");
    const QStringList arguments{"-2", "-w", "0", "-p", dir.filePath("a b.gba")};
    QVERIFY(ExecCmd(CommandLine(named, arguments)).succeeded());
    QCOMPARE(QString::fromUtf8(testfiles::read(named + ".args")), "[" + arguments.join("][") + "]");
#ifdef Q_OS_WIN
    // The command line as assembled: exactly the blanks it holds, none added after the program.
    const QString plain = tool(dir, "tool.exe", "cmdline");
    const CommandLine command(QDir::toNativeSeparators(plain), arguments);
    QVERIFY(ExecCmd(command).succeeded());
    QCOMPARE(QString::fromUtf8(testfiles::read(plain + ".cmdline")), command.toString());
#endif
}

void ProcessRunnerTest::consoleShowsOutputWhileRunning()
{
    QTemporaryDir dir;
    // The tool goes on once the test has seen what it wanted to see: it waits for a file.
    const QString program = tool(dir, "tool", "out writing block 1;err a warning;wait;out done");
    QWidget started; // the window the run was started from
    started.show();
    started.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&started));
    QString seenWhileRunning;
    bool inFront = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(shownConsole() && shownConsole()->text().contains("a warning") &&
                    shownConsole()->text().contains("writing block 1"));
        seenWhileRunning = shownConsole()->text();
        // In front of the window it was started from, which it belongs to, with the keyboard's focus for Ctrl+C.
        QTRY_VERIFY(QApplication::activeWindow() == shownConsole());
        // As the window system sees it: a window-modal transient of the waiting window.
        inFront = shownConsole()->windowHandle()->transientParent() == started.windowHandle() &&
                  shownConsole()->windowHandle()->modality() == Qt::WindowModal &&
                  shownConsole()->isAncestorOf(QApplication::focusWidget());
        testfiles::letToolGoOn(program);
    });
    QCOMPARE(ExecCmd(CommandLine(program)).code, 0);
    QVERIFY(!seenWhileRunning.contains("done"));
    QVERIFY(inFront);
    QVERIFY(!shownConsole());
}

void ProcessRunnerTest::userInputIsBlockedWhileRunning()
{
    QTemporaryDir dir;
    const QString program = tool(dir, "tool", "ready;wait");
    QPushButton button("press");
    int presses = 0;
    connect(&button, &QPushButton::clicked, [&] { ++presses; });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    bool closedWhileRunning = true;
    bool busyCursor = false;
    // The windows keep painting while the program runs.
    int paintsWhileRunning = 0;
    PaintCounter counter(&button);
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(testfiles::toolIsReady(program));
        counter.paints = 0;
        button.setText("still painting");
        button.repaint();
        paintsWhileRunning = counter.paints;
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClick(&button, Qt::Key_Space);
        button.close();
        closedWhileRunning = !button.isVisible();
        busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        testfiles::letToolGoOn(program);
    });
    QCOMPARE(ExecCmd(CommandLine(program)).code, 0);
    QCOMPARE(presses, 0);
    QVERIFY(paintsWhileRunning > 0);
    QVERIFY(!closedWhileRunning);
    QVERIFY(busyCursor);
    QVERIFY(!QApplication::overrideCursor());
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(presses, 1);
}

void ProcessRunnerTest::misbehavingTools_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("stop"); // how the user stops it: "", "close", "ctrl+c", "stop" or a key on Stop
    QTest::addColumn<QString>("outcome");

    auto row = [](const char* name, const char* steps, const char* stop, const QString& outcome) {
        QTest::newRow(name) << QString(steps) << QString(stop) << outcome;
    };
    row("reads its standard input", "read;exit 4", "", "exit code 4");
    const QString closed = "stopped: the console window was closed";
    row("never ends, console closed", "ready;wait", "close", closed);
    row("never ends, Ctrl+C in the console", "ready;wait", "ctrl+c",
        "stopped: Ctrl+C was pressed in the console window");
    row("never ends, the console's Stop button", "ready;wait", "stop",
        "stopped: Stop was pressed in the console window");
    // The keys that press a focused button, as on Windows.
    for (const char* key : {"enter", "return", "space"})
        QTest::addRow("never ends, %s on Stop", key)
            << "ready;wait" << QString(key) << "stopped: Stop was pressed in the console window";
    row("ignores the request to stop", "ignore-stop;ready;wait", "close", closed);
    row("prints without end", "ready;flood", "close", closed);
}

void ProcessRunnerTest::misbehavingTools()
{
    QFETCH(QString, steps);
    QFETCH(QString, stop);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString program = tool(dir, "tool", steps);
    bool otherWindowsStillBlocked = false;
    QPushButton button("press");
    button.show();
    int presses = 0;
    connect(&button, &QPushButton::clicked, [&] { ++presses; });
    QTimer::singleShot(0, &button, [&] {
        if (stop.isEmpty())
            return;                  // it ends by itself
        QTRY_VERIFY(shownConsole()); // the tool runs
        ConsoleWindow* console = shownConsole();
        QTest::mouseClick(&button, Qt::LeftButton);
        otherWindowsStillBlocked = presses == 0;
        if (stop == "close")
            console->close();
        else if (stop == "ctrl+c")
            QTest::keyClick(console, Qt::Key_C, Qt::ControlModifier);
        else if (stop == "stop")
            QTest::mouseClick(console->findChild<QPushButton*>("stop"), Qt::LeftButton);
        else
            QTest::keyClick(console->findChild<QPushButton*>("stop"), stop == "enter"    ? Qt::Key_Enter
                                                                      : stop == "return" ? Qt::Key_Return
                                                                                         : Qt::Key_Space);
    });
    QElapsedTimer clock;
    clock.start();
    // What the runner passes on to the test's own output is not under test here; a flood of it would fill the log.
    RunOutcome ran;
    {
        const OutputQuiet quiet;
        ran = ExecCmd(CommandLine(program));
    }
    QCOMPARE(ran.describe(), outcome);
    QVERIFY(!ran.succeeded());
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(otherWindowsStillBlocked || stop.isEmpty());
    QVERIFY(!shownConsole());
}

void ProcessRunnerTest::stopEndsTheWholeTool_data()
{
    QTest::addColumn<QString>("real");     // the steps of the real tool behind a wrapper
    QTest::addColumn<QString>("outerJob"); // Windows: Vellmore itself in a job, which lets a tool break away or not
    QTest::newRow("the real tool ends when asked") << "ready;wait;write late"
                                                   << "";
    QTest::newRow("the real tool ignores the request") << "ignore-stop;ready;wait;write late"
                                                       << "";
#ifdef Q_OS_WIN
    // As on Windows 7, where a tool inside a job cannot be put in another: its process tree is ended. Last,
    // as Vellmore stays in the job; the last rows leave it one that lets tools break away.
    QTest::newRow("in a job, no breakaway") << "ignore-stop;ready;wait;write late"
                                            << "closed";
    QTest::newRow("in a job that lets tools go") << "ignore-stop;ready;wait;write late"
                                                 << "breakaway";
#endif
}

void ProcessRunnerTest::stopEndsTheWholeTool()
{
    QFETCH(QString, real);
    QFETCH(QString, outerJob);
#ifdef Q_OS_WIN
    if (!outerJob.isEmpty()) {
        static const HANDLE outer = [] {
            const HANDLE job = CreateJobObjectW(nullptr, nullptr);
            return job && AssignProcessToJobObject(job, GetCurrentProcess()) ? job : nullptr;
        }();
        if (!outer)
            QSKIP("this system cannot put the test in a job");
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = outerJob == "breakaway" ? JOB_OBJECT_LIMIT_BREAKAWAY_OK : 0;
        QVERIFY(SetInformationJobObject(outer, JobObjectExtendedLimitInformation, &limits, sizeof limits));
    }
#endif
    QTemporaryDir dir;
    // A wrapper that starts the real tool and waits for it, as a script for Wine does.
    const QString realTool = tool(dir, "real", real);
    const QString wrapper = tool(dir, "wrapper", "spawn real");
    const QString cart = dir.filePath("cart.gba");
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(testfiles::toolIsReady(realTool) && shownConsole());
        QTest::mouseClick(shownConsole()->findChild<QPushButton*>("stop"), Qt::LeftButton);
    });
    const RunOutcome ran = ExecCmd(CommandLine(wrapper, {"-c", "8", "-s", cart}));
    QCOMPARE(ran.describe(), QString("stopped: Stop was pressed in the console window"));
    // Had the real tool outlived the stop, it would write the cart file as soon as it may go on.
    testfiles::letToolGoOn(realTool);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(cart));
}

void ProcessRunnerTest::theRunEndsWithTheWholeTool_data()
{
    QTest::addColumn<QString>("realSteps");
    QTest::addColumn<bool>("stop");
    QTest::newRow("the real tool in the group") << "ready;wait;write written" << false;
#ifndef Q_OS_WIN
    // A session of its own takes it out of the group; its parent gone, it is Vellmore's orphan.
    QTest::newRow("the real tool in a session of its own") << "leave-group;ready;wait;write written" << false;
    QTest::newRow("stopped, the real tool in a session of its own") << "leave-group;ready;wait;write written" << true;
#endif
}

// A launcher that leaves the real tool writing in the background and ends with 0 has not flashed the
// cart yet: the run ends only when the real tool has, and Stop ends it wherever it went.
void ProcessRunnerTest::theRunEndsWithTheWholeTool()
{
    QFETCH(QString, realSteps);
    QFETCH(bool, stop);
    QTemporaryDir dir;
    const QString realTool = tool(dir, "real", realSteps);
    const QString launcher = tool(dir, "launcher", "launch real");
    const QString cart = dir.filePath("cart.gba");
    bool endedEarly = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(testfiles::toolIsReady(realTool));
        QTest::qWait(300); // the launcher has long ended by now
        endedEarly = !shownConsole();
        if (stop && shownConsole())
            QTest::mouseClick(shownConsole()->findChild<QPushButton*>("stop"), Qt::LeftButton);
        else
            testfiles::letToolGoOn(realTool);
    });
    const RunOutcome ran = ExecCmd(CommandLine(launcher, {"-s", cart}));
    QVERIFY(!endedEarly);
    if (stop) {
        QCOMPARE(ran.describe(), QString("stopped: Stop was pressed in the console window"));
        testfiles::letToolGoOn(realTool); // it would write now, had it outlived the stop
        QTest::qWait(300);
        QVERIFY(!QFile::exists(cart));
    } else {
        QVERIFY(ran.succeeded());
        QCOMPARE(testfiles::read(cart), QByteArray("written")); // written by the time the run is over
    }
}

void ProcessRunnerTest::askedToEndStopsTheToolFirst()
{
    QTemporaryDir dir;
    const QString program = tool(dir, "tool", "ready;wait");
    int endedWith = -1;
    bool toolRanWhenEnded = true;
    runner::setEndAction([&](int code) {
        endedWith = code;
        toolRanWhenEnded = shownConsole() && shownConsole()->stopReason().isEmpty();
    });
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(testfiles::toolIsReady(program));
#ifdef Q_OS_WIN
        runner::requestEnd(143);
#else
        runner::endOnSystemRequest(); // as Vellmore's main does
        ::raise(SIGTERM);
#endif
        QCOMPARE(endedWith, -1); // not while the tool runs
    });
    const RunOutcome ran = ExecCmd(CommandLine(program));
    QCOMPARE(ran.describe(), "stopped: " + runner::systemEndReason());
    QCOMPARE(endedWith, 143);
    QVERIFY(!toolRanWhenEnded);
    runner::setEndAction([](int) {});
}

#ifdef Q_OS_WIN
void ProcessRunnerTest::windowsInItsOwnWords_data()
{
    QTest::addColumn<QString>("arrangement");
    QTest::addColumn<QString>("message"); // %T: the tool's path
    QTest::newRow("the tool's words in the console's code page") << "oem"
                                                                 << "flash failed: exit code 1: Prüfsumme falsch";
    QTest::newRow("not a program") << "text"
                                   << "could not start %T: ";
    // 64-bit Windows refuses to start it; a 32-bit one without a DOS machine (Wine without DOSBox)
    // starts one that ends at once: either way it never ran, and the message says why.
    QTest::newRow("a DOS program") << "dos"
                                   << "could not start %T: (it is a DOS or 16-bit program, and ";
    QTest::newRow("a library it needs is missing, named")
        << "no library"
        << "could not start %T: it needs Qt5Core.dll, libgcc_s_dw2-1.dll, libstdc++-6.dll, which Windows cannot find";
    QTest::newRow("the port reached without its driver")
        << "port"
        << "flash failed: crashed with status 0xC0000096 (a privileged instruction: the tool reached for the port "
           "without its port driver, and Windows refused; ";
}

void ProcessRunnerTest::windowsInItsOwnWords()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString program = QDir::toNativeSeparators(dir.filePath("OB.exe"));
    const QByteArray path = qgetenv("PATH");
    if (arrangement == "oem") {
        program = tool(dir, "OB", "oem Prüfsumme falsch;exit 1");
    } else if (arrangement == "text") {
        testfiles::write(program, "not a program at all\r\n");
    } else if (arrangement == "port") {
        program = tool(dir, "OB", "port");
    } else if (arrangement == "dos") {
        testfiles::write(program, QByteArray("MZ") + QByteArray(62, '\0'));
    } else {
        program = tool(dir, "OB", "exit 0");
        qputenv("PATH", "C:\\windows\\system32;C:\\windows"); // where Qt's libraries are not
    }
    const RunOutcome ran = ExecCmd(CommandLine(program));
    qputenv("PATH", path);
    const QString told = cart::toolFailureMessage(ran, program, "flash");
    const QStringList parts = message.replace("%T", program).split(": (");
    // The system's own text, whole: never "Unknown error", and the path where it speaks of one.
    QVERIFY2(told.startsWith(parts.first()) && !told.contains("Unknown error") && !told.contains("%1"),
             qPrintable(told));
    if (parts.size() > 1)
        QVERIFY2(told.contains(" (" + parts.last()) && told.endsWith(')'), qPrintable(told));
}
#endif

#ifdef Q_OS_WIN
// Where no job can hold the tool (Windows 7 in a job of its own), its processes are found by their
// parents: a wrapper and the real tool it started, even once the wrapper has ended.
void ProcessRunnerTest::aProcessTreeEndsWhole()
{
    QTemporaryDir dir;
    const QString realTool = tool(dir, "real", "ignore-stop;ready;wait;write late");
    const QString wrapper = tool(dir, "wrapper", "spawn real");
    QProcess started;
    started.start(wrapper, {dir.filePath("cart.gba")});
    QVERIFY(started.waitForStarted());
    const platform::ProcessTreeRoot root = platform::processTreeRoot(static_cast<unsigned long>(started.processId()));
    QTRY_VERIFY(testfiles::toolIsReady(realTool));
    // The wrapper, the real tool and any console host the system gave them.
    QVERIFY(platform::runningProcessTree(root).size() >= 2);
    started.kill();
    QVERIFY(started.waitForFinished());
    QVERIFY(!platform::runningProcessTree(root).empty()); // the real tool, orphaned
    platform::endProcessTree(root);
    QTRY_COMPARE(platform::runningProcessTree(root).size(), size_t(0));
    testfiles::letToolGoOn(realTool);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(dir.filePath("cart.gba")));
}
#endif

#ifndef Q_OS_WIN
void ProcessRunnerTest::writesThatFailDoNotEndVellmore_data()
{
    QTest::addColumn<QString>("attack");
    QTest::newRow("standard output a closed pipe") << "closed stdout";
    QTest::newRow("standard output a pipe nobody reads") << "unread stdout";
    QTest::newRow("a file-size limit") << "size limit";
}

void ProcessRunnerTest::writesThatFailDoNotEndVellmore()
{
    QFETCH(QString, attack);
    QTemporaryDir dir;
    platform::ignoreWriteSignals(); // as Vellmore's main does
    testfiles::write(dir.filePath("loader.bin"), testfiles::pattern(4096, 1));
    testfiles::write(dir.filePath("game.gba"), testfiles::pattern(256 * 1024, 2));
    testfiles::write(dir.filePath("multi.gba"), "the good old multirom");
    multirom::CompileRequest request;
    request.loader = dir.filePath("loader.bin");
    request.games = QStringList{dir.filePath("game.gba")};
    request.output = dir.filePath("multi.gba");
    request.browserFolder = dir.path();

    // 3 MB: more than any pipe and the buffer Vellmore keeps for its own output hold.
    const QString talker = tool(dir, "chatty", "out progress;err warning;bulk 3072");
    const qint64 droppedBefore = runner::droppedOutputBytes();
    // Vellmore's own output goes to a pipe nobody reads, or every file is held to 64 KiB.
    struct rlimit savedLimit;
    ::getrlimit(RLIMIT_FSIZE, &savedLimit);
    int ends[2] = {-1, -1};
    if (attack.endsWith("stdout")) {
        QCOMPARE(::pipe(ends), 0);
        if (attack == "closed stdout")
            ::close(ends[0]);
    } else {
        struct rlimit small = savedLimit;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    multirom::CompileOutcome compiled;
    RunOutcome chatty;
    {
        std::unique_ptr<OutputRedirected> closed(ends[1] >= 0 ? new OutputRedirected(ends[1]) : nullptr);
        compiled = multirom::compileMultirom(request, ExecCmd);
        chatty = ExecCmd(CommandLine(talker));
    }
    ::setrlimit(RLIMIT_FSIZE, &savedLimit);
    if (attack == "unread stdout") {
        QVERIFY(runner::droppedOutputBytes() > droppedBefore);
        ::close(ends[0]);
    }

    QVERIFY(chatty.succeeded());
    QVERIFY(!QFile::exists(dir.filePath("flash.bat")));
    QVERIFY(QDir(dir.path()).entryList({".vm-*"}, QDir::Files | QDir::Hidden).isEmpty());
    if (attack.endsWith("stdout")) {
        QVERIFY(compiled.compiled);
    } else {
        QVERIFY(!compiled.compiled);
        QCOMPARE(compiled.messages, QStringList{"compile failed: the copy ended with exit code 1: " +
                                                QString::fromLocal8Bit(strerror(EFBIG))});
        QCOMPARE(testfiles::read(dir.filePath("multi.gba")), QByteArray("the good old multirom"));
    }
}

#endif

QTEST_MAIN(ProcessRunnerTest)
#include "tst_process_runner.moc"
