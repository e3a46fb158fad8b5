// Running a program and waiting for it: exit codes, signals, batch files, the console window.
#include "multirom/CompileSequence.h"
#include "platform/Platform.h"
#include "runner/ConsoleWindow.h"
#include "runner/ProcessRunner.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using platform::CommandLine;
using platform::RunOutcome;
using runner::ExecCmd;

namespace {

QString script(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    return testfiles::writeScript(dir.filePath(name), body);
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
    void consoleShowsOutputWhileRunning();
    void userInputIsBlockedWhileRunning();
    void misbehavingTools_data();
    void misbehavingTools();
    void writesThatFailDoNotEndVellmore_data();
    void writesThatFailDoNotEndVellmore();
};

void ProcessRunnerTest::cleanup()
{
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void ProcessRunnerTest::outcomes_data()
{
    QTest::addColumn<QByteArray>("body"); // empty: no program at all
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("succeeded");

    QTest::newRow("exit 0") << QByteArray("exit 0") << int(RunOutcome::Kind::Exited) << 0 << true;
    QTest::newRow("exit 3") << QByteArray("exit 3") << int(RunOutcome::Kind::Exited) << 3 << false;
    QTest::newRow("exit 253, as the system reports -3")
        << QByteArray("exit 253") << int(RunOutcome::Kind::Exited) << 253 << false;
    QTest::newRow("killed by a signal") << QByteArray("kill -9 $$") << int(RunOutcome::Kind::Signalled) << 9 << false;
    QTest::newRow("no such program") << QByteArray() << int(RunOutcome::Kind::NotStarted) << -1 << false;
}

void ProcessRunnerTest::outcomes()
{
    QFETCH(QByteArray, body);
    QFETCH(int, kind);
    QFETCH(int, code);
    QFETCH(bool, succeeded);
    QTemporaryDir dir;
    const QString program = body.isEmpty() ? dir.filePath("missing tool") : script(dir, "tool", body);
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
    const QString tool =
        script(dir, "my tool", "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"");
    const QStringList arguments{"-2", "-w", " 5", "-p", "/a b/ü & c%d\"e.gba"};
    QCOMPARE(ExecCmd(CommandLine(tool, arguments)).code, 0);
    QCOMPARE(testfiles::read(dir.filePath("args")),
             QString("[-2]\n[-w]\n[ 5]\n[-p]\n[/a b/ü & c%d\"e.gba]\n").toUtf8());
}

void ProcessRunnerTest::seesOurDirectoryAndEnvironment()
{
    QTemporaryDir dir;
    const QString tool = script(dir, "tool", "pwd > where; printf %s \"$VELLMORE_PROBE\" > env");
    testfiles::CurrentDirectory cwd(dir.path());
    qputenv("VELLMORE_PROBE", "here");
    QCOMPARE(ExecCmd(CommandLine(tool)).code, 0);
    qunsetenv("VELLMORE_PROBE");
    QCOMPARE(testfiles::read(dir.filePath("where")).trimmed(), QFile::encodeName(QDir(dir.path()).canonicalPath()));
    QCOMPARE(testfiles::read(dir.filePath("env")), QByteArray("here"));
}

void ProcessRunnerTest::batchFileRunsThroughTheInterpreter()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), "AB");
    testfiles::write(dir.filePath("c d.gba"), "CD");
    const QString line = QString("copy /b \"%1\"+\"%2\" \"%3\"")
                             .arg(dir.filePath("a.bin"), dir.filePath("c d.gba"), dir.filePath("m.gba"));
    testfiles::write(dir.filePath("FLASH.BAT"), "@echo off\r\n" + line.toUtf8() + "\r\n");
    const RunOutcome ok = ExecCmd(CommandLine(dir.filePath("FLASH.BAT")));
    QVERIFY(ok.succeeded());
    QCOMPARE(testfiles::read(dir.filePath("m.gba")), QByteArray("ABCD"));

    testfiles::write(dir.filePath("bad.bat"), "@echo off\r\nformat c:\r\n");
    const RunOutcome bad = ExecCmd(CommandLine(dir.filePath("bad.bat")));
    QCOMPARE(bad.kind, RunOutcome::Kind::Exited);
    QCOMPARE(bad.code, 9009);
}

void ProcessRunnerTest::consoleShowsOutputWhileRunning()
{
    QTemporaryDir dir;
    // The tool goes on once the test has seen what it wanted to see: it waits for a file.
    const QString tool = script(
        dir, "tool", "echo 'writing block 1'; echo 'a warning' >&2\n" + testfiles::waitForTheTest + "\necho done");
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
        inFront = shownConsole()->parentWidget() == &started && shownConsole()->hasFocus();
        testfiles::letToolGoOn(tool);
    });
    QCOMPARE(ExecCmd(CommandLine(tool)).code, 0);
    QVERIFY(!seenWhileRunning.contains("done"));
    QVERIFY(inFront);
    QVERIFY(!shownConsole());
}

void ProcessRunnerTest::userInputIsBlockedWhileRunning()
{
    QTemporaryDir dir;
    const QString tool = script(dir, "tool", testfiles::waitForTheTest);
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
        QTRY_VERIFY(shownConsole()); // the program runs
        counter.paints = 0;
        button.setText("still painting");
        button.repaint();
        paintsWhileRunning = counter.paints;
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::keyClick(&button, Qt::Key_Space);
        button.close();
        closedWhileRunning = !button.isVisible();
        busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        testfiles::letToolGoOn(tool);
    });
    QCOMPARE(ExecCmd(CommandLine(tool)).code, 0);
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
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("stop"); // how the user stops it: "", "close", "ctrl+c" or "stop"
    QTest::addColumn<QString>("outcome");

    const QString closed = "stopped: the console window was closed";
    QTest::newRow("reads its standard input") << QByteArray("read answer; exit 4") << ""
                                              << "exit code 4";
    QTest::newRow("never ends, console closed") << QByteArray("exec sleep 600") << "close" << closed;
    QTest::newRow("never ends, Ctrl+C in the console") << QByteArray("exec sleep 600") << "ctrl+c"
                                                       << "stopped: Ctrl+C was pressed in the console window";
    QTest::newRow("never ends, the console's Stop button") << QByteArray("exec sleep 600") << "stop"
                                                           << "stopped: Stop was pressed in the console window";
    QTest::newRow("ignores the request to stop")
        << QByteArray("trap '' TERM; while :; do sleep 1; done") << "close" << closed;
    QTest::newRow("prints without end") << QByteArray("exec yes progress >/dev/stderr") << "close" << closed;
}

void ProcessRunnerTest::misbehavingTools()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, stop);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString tool = script(dir, "tool", body);
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
    });
    QElapsedTimer clock;
    clock.start();
    // What the runner passes on to the test's own output is not under test here; a flood of it would fill the log.
    RunOutcome ran;
    {
        const OutputRedirected quiet(::open("/dev/null", O_WRONLY));
        ran = ExecCmd(CommandLine(tool));
    }
    QCOMPARE(ran.describe(), outcome);
    QVERIFY(!ran.succeeded());
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(otherWindowsStillBlocked || stop.isEmpty());
    QVERIFY(!shownConsole());
}

void ProcessRunnerTest::writesThatFailDoNotEndVellmore_data()
{
    QTest::addColumn<QString>("attack");
    QTest::newRow("standard output a closed pipe") << "closed stdout";
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
    request.toolPath = "tool";
    request.browserFolder = dir.path();

    // Vellmore's own output goes to a pipe nobody reads, or every file is held to 64 KiB.
    struct rlimit savedLimit;
    ::getrlimit(RLIMIT_FSIZE, &savedLimit);
    int ends[2] = {-1, -1};
    if (attack == "closed stdout") {
        QCOMPARE(::pipe(ends), 0);
        ::close(ends[0]);
    } else {
        struct rlimit small = savedLimit;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    multirom::CompileOutcome compiled;
    RunOutcome tool;
    {
        std::unique_ptr<OutputRedirected> closed(ends[1] >= 0 ? new OutputRedirected(ends[1]) : nullptr);
        compiled = multirom::compileMultirom(request, ExecCmd);
        tool = ExecCmd(CommandLine(script(dir, "chatty", "echo progress; echo warning >&2")));
    }
    ::setrlimit(RLIMIT_FSIZE, &savedLimit);

    QVERIFY(tool.succeeded());
    QVERIFY(!QFile::exists(dir.filePath("flash.bat")));
    QVERIFY(QDir(dir.path()).entryList({".vm-*"}, QDir::Files | QDir::Hidden).isEmpty());
    if (attack == "closed stdout") {
        QVERIFY(compiled.compiled);
    } else {
        QVERIFY(!compiled.compiled);
        QCOMPARE(compiled.messages, QStringList{"compile failed: the copy ended with exit code 1: " +
                                                QString::fromLocal8Bit(strerror(EFBIG))});
        QCOMPARE(testfiles::read(dir.filePath("multi.gba")), QByteArray("the good old multirom"));
    }
}

QTEST_MAIN(ProcessRunnerTest)
#include "tst_process_runner.moc"
