// The sequences behind "Compile multirom" and "Flash", without a window: the copy runs
// through the batch interpreter, the tool through a stand-in that records its command line.
#include "cart/CartOperations.h"
#include "multirom/CompileSequence.h"
#include "platform/BatchInterpreter.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using platform::CommandLine;
using platform::RunOutcome;

Q_DECLARE_METATYPE(RunOutcome)

namespace {

// Runs a batch file the way the windows' runner does outside Windows, without a console.
RunOutcome runBatch(const CommandLine& command)
{
    platform::BatchInterpreter interpreter(nullptr);
    return RunOutcome::exited(quint32(interpreter.runFile(command.program())));
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
    void unwritableBatchFolderIsReported();
    void flashOutcomes_data();
    void flashOutcomes();

private:
    multirom::CompileRequest request(const QStringList& games) const;

    QTemporaryDir* m_dir = nullptr;
};

void OperationsTest::init()
{
    m_dir = new QTemporaryDir;
    testfiles::write(m_dir->filePath("gbaldr32.bin"), testfiles::pattern(32 * 1024, 1));
}

void OperationsTest::cleanup()
{
    delete m_dir;
}

multirom::CompileRequest OperationsTest::request(const QStringList& games) const
{
    multirom::CompileRequest request;
    request.loader = m_dir->filePath("gbaldr32.bin");
    request.output = m_dir->filePath("multi.gba");
    request.toolPath = m_dir->filePath("OB.exe");
    request.browserFolder = m_dir->path();
    request.games = games;
    return request;
}

void OperationsTest::compileRefusals_data()
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

void OperationsTest::compileRefusals()
{
    QFETCH(QString, arrangement);
    QFETCH(QString, messageStart);
    QFETCH(QString, named);
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    testfiles::write(m_dir->filePath("multi.gba"), "the good old multirom");
    QStringList games{m_dir->filePath("a.gba")};
    if (arrangement == "missing game") {
        games.append(m_dir->filePath("gone.gba"));
    } else if (arrangement == "missing loader") {
        QVERIFY(QFile::remove(m_dir->filePath("gbaldr32.bin")));
    } else if (arrangement == "folder game") {
        QVERIFY(QDir(m_dir->path()).mkdir("folder.gba"));
        games.append(m_dir->filePath("folder.gba"));
    } else if (arrangement == "output as game") {
        games.append(m_dir->filePath("multi.gba"));
    } else if (arrangement == "quote") {
        testfiles::write(m_dir->filePath(named), "q");
        games.append(m_dir->filePath(named));
    }

    bool ran = false;
    const multirom::CompileOutcome outcome = multirom::compileMultirom(request(games), [&](const CommandLine&) {
        ran = true;
        return RunOutcome::exited(0);
    });
    QCOMPARE(outcome.messages, QStringList{messageStart + m_dir->filePath(named)});
    QVERIFY(!ran && !outcome.compiled && !outcome.filesTouched);
    QCOMPARE(testfiles::read(m_dir->filePath("multi.gba")), QByteArray("the good old multirom"));
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
}

void OperationsTest::failedCopyIsReportedAsFailure()
{
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    multirom::CompileRequest asked = request({m_dir->filePath("a.gba")});
    asked.output = m_dir->filePath("no such folder/multi.gba");
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    QCOMPARE(outcome.messages, QStringList{"compile failed: the copy ended with exit code 1"});
    QVERIFY(!outcome.compiled);
    QVERIFY(!QFile::exists(m_dir->filePath("flash.bat")));
}

void OperationsTest::unwritableBatchFolderIsReported()
{
    testfiles::write(m_dir->filePath("a.gba"), "game a");
    multirom::CompileRequest asked = request({m_dir->filePath("a.gba")});
    // The browser shows a folder that has gone since: flash.bat cannot be written there.
    asked.browserFolder = m_dir->filePath("gone");
    const multirom::CompileOutcome outcome = multirom::compileMultirom(asked, runBatch);
    QVERIFY(!outcome.messages.isEmpty());
    QCOMPARE(outcome.messages.first(), "cannot write " + asked.browserFolder + "/flash.bat: " +
                                           QString::fromLocal8Bit(strerror(ENOENT)));
    QVERIFY(!QFile::exists(m_dir->filePath("multi.gba")));
    QVERIFY(!outcome.compiled);
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
    QTest::newRow("no multirom, no tool") << "" << "" << "" << done << int(cart::ToolChoice::File)
                                          << "you have to select the multi.gba to flash" << "";
    QTest::newRow("no tool") << "m.gba" << "" << "" << done << int(cart::ToolChoice::Tool)
                             << "please select your Orbick location" << "";
    QTest::newRow("done, empty wait step") << "m.gba" << "OB" << "" << done << int(cart::ToolChoice::None)
                                           << "Flashed!" << "OB -2 -w 0 -l 1 -p m.gba";
    QTest::newRow("tool failed") << "m.gba" << "OB" << "7" << RunOutcome::exited(5) << int(cart::ToolChoice::None)
                                 << "flash failed: exit code 5" << "OB -2 -w 7 -l 1 -p m.gba";
    QTest::newRow("exit code above 2^31") << "m.gba" << "OB" << "0" << RunOutcome::exited(0xC0000005u)
                                          << int(cart::ToolChoice::None) << "flash failed: exit code -1073741819"
                                          << "OB -2 -w 0 -l 1 -p m.gba";
    QTest::newRow("tool killed") << "m.gba" << "OB" << "0" << RunOutcome::signalled(9) << int(cart::ToolChoice::None)
                                 << "flash failed: killed by signal 9" << "OB -2 -w 0 -l 1 -p m.gba";
    QTest::newRow("tool not started") << "m.gba" << "OB" << "0" << RunOutcome::notStarted()
                                      << int(cart::ToolChoice::None) << "could not start OB"
                                      << "OB -2 -w 0 -l 1 -p m.gba";
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

QTEST_MAIN(OperationsTest)
#include "tst_operations.moc"
