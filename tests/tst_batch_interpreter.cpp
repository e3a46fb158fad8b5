// The batch interpreter that runs flash.bat where Windows' own is not there.
#include "run/BatchInterpreter.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using run::BatchInterpreter;

namespace {

struct Run {
    int errorLevel = 0;
    QString output;
    QString error;
};

Run interpret(const QString& text, const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    Run result;
    BatchInterpreter interpreter(
        [&](BatchInterpreter::Stream stream, const QString& said) {
            (stream == BatchInterpreter::Stream::Error ? result.error : result.output) += said;
        },
        environment);
    result.errorLevel = interpreter.runText(text);
    return result;
}

} // namespace

class BatchInterpreterTest : public QObject {
    Q_OBJECT

private slots:
    void expansion_data();
    void expansion();
    void copyJoinsSourcesInOrder_data();
    void copyJoinsSourcesInOrder();
    void failures_data();
    void failures();
    void failedCopyKeepsTheOldDestination();
    void echoAndComments();
    void runsAFileWithEitherLineEnd();
};

void BatchInterpreterTest::expansion_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("doubled percent") << "copy 100%%.gba"
                                     << "copy 100%.gba";
    QTest::newRow("variable") << "%GAMES%\\a.gba"
                              << "/g\\a.gba";
    QTest::newRow("unknown variable is empty") << "a%NOPE%b"
                                               << "ab";
    QTest::newRow("lone percent at the end dropped") << "50%"
                                                     << "50";
    QTest::newRow("batch parameter without arguments") << "x%1y"
                                                       << "xy";
    QTest::newRow("four percents") << "%%%%"
                                   << "%%";
}

void BatchInterpreterTest::expansion()
{
    QFETCH(QString, line);
    QFETCH(QString, expanded);
    QProcessEnvironment environment;
    environment.insert("GAMES", "/g");
    BatchInterpreter interpreter({}, environment);
    QCOMPARE(interpreter.expand(line, QString()), expanded);
}

void BatchInterpreterTest::copyJoinsSourcesInOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("line"); // %1, %2 ... stand for the source paths, %D for the destination

    QTest::newRow("quoted, joined without blanks")
        << QStringList{"a.bin", "b b.gba", "c.gba"} << "copy /b \"%1\"+\"%2\"+\"%3\" \"%D\"";
    QTest::newRow("unquoted and quoted mixed") << QStringList{"a.bin", "b.gba"} << "copy /b %1+\"%2\" \"%D\"";
    QTest::newRow("blanks around the plus") << QStringList{"a.bin", "b.gba"} << "COPY /B \"%1\" + \"%2\" \"%D\"";
    QTest::newRow("ampersand and percent inside quotes")
        << QStringList{"l&r.bin", "100%%.gba"} << "copy /b \"%1\"+\"%2\" \"%D\"";
    QTest::newRow("non-ASCII letters") << QStringList{"lädër.bin", "ゲーム.gba"} << "copy /b \"%1\"+\"%2\" \"%D\"";
    QTest::newRow("one source") << QStringList{"only.gba"} << "copy /b \"%1\" \"%D\"";
}

void BatchInterpreterTest::copyJoinsSourcesInOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QString, line);
    QTemporaryDir dir;
    QByteArray expected;
    QString text = line;
    for (int i = 0; i < names.size(); ++i) {
        const QString onDisk = QString(names[i]).replace("%%", "%");
        const QByteArray bytes = testfiles::pattern(1000 + 777 * i, i);
        testfiles::write(dir.filePath(onDisk), bytes);
        expected += bytes;
        text.replace(QString("%%1").arg(i + 1), dir.filePath(names[i]));
    }
    text.replace("%D", dir.filePath("out put.gba"));

    const Run result = interpret("@echo off\r\n" + text + "\r\n");
    QCOMPARE(result.error, QString());
    QCOMPARE(result.errorLevel, 0);
    QVERIFY(result.output.contains("1 file(s) copied."));
    QCOMPARE(testfiles::read(dir.filePath("out put.gba")), expected);
}

void BatchInterpreterTest::failures_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("errorLevel");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing source") << "copy /b \"%T/a.bin\"+\"%T/gone.gba\" \"%T/out.gba\"" << 1
                                    << "The system cannot find the file specified.";
    QTest::newRow("destination under a regular file")
        << "copy /b \"%T/a.bin\" \"%T/a.bin/out.gba\"" << 1 << "The system cannot find the path specified.";
    QTest::newRow("destination is a folder") << "copy /b \"%T/a.bin\" \"%T\"" << 1 << "Access is denied.";
    QTest::newRow("source is a folder") << "copy /b \"%T\" \"%T/out.gba\"" << 1 << "Access is denied.";
#ifndef Q_OS_WIN
    // A FIFO where a game was: refused at once, never waited on.
    QTest::newRow("source is a FIFO") << "copy /b \"%T/a.bin\"+\"%T/fifo\" \"%T/out.gba\"" << 1 << "Access is denied.";
#endif
    QTest::newRow("no destination") << "copy /b \"%T/a.bin\"" << 1 << "The syntax of the command is incorrect.";
    QTest::newRow("two destinations") << "copy /b a b c" << 1 << "The syntax of the command is incorrect.";
    QTest::newRow("unknown switch") << "copy /q a b" << 1 << "Invalid switch - /q";
    QTest::newRow("unknown command") << "del \"%T/a.bin\"" << 9009
                                     << "'del' is not recognized as an internal or external command,";
    QTest::newRow("echo with text is not understood") << "echo hello" << 9009 << "'echo' is not recognized";
}

void BatchInterpreterTest::failures()
{
    QFETCH(QString, line);
    QFETCH(int, errorLevel);
    QFETCH(QString, message);
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), "loader");
#ifndef Q_OS_WIN
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0644), 0);
#endif
    const Run result = interpret("@echo off\n" + QString(line).replace("%T", dir.path()) + "\n");
    QCOMPARE(result.errorLevel, errorLevel);
    QVERIFY2(!result.error.isEmpty(), "a failure says so on standard error");
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(!QFile::exists(dir.filePath("out.gba")));
    QCOMPARE(testfiles::read(dir.filePath("a.bin")), QByteArray("loader"));
    // Nothing half-made is left behind next to the destination.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.bin"});
}

void BatchInterpreterTest::failedCopyKeepsTheOldDestination()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), testfiles::pattern(5000, 1));
    testfiles::write(dir.filePath("multi.gba"), "the good old multirom");
    const Run result =
        interpret(QString("copy /b \"%1\"+\"%2\" \"%3\"")
                      .arg(dir.filePath("a.bin"), dir.filePath("missing.gba"), dir.filePath("multi.gba")));
    QCOMPARE(result.errorLevel, 1);
    QCOMPARE(testfiles::read(dir.filePath("multi.gba")), QByteArray("the good old multirom"));
}

void BatchInterpreterTest::echoAndComments()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), "A");
    const QString copy = QString("copy /b \"%1\" \"%2\"").arg(dir.filePath("a.bin"), dir.filePath("b.bin"));

    const Run quiet = interpret("@echo off\r\nrem copy nothing\r\n\r\n:label\r\nREM another\r\n" + copy + "\r\n");
    QCOMPARE(quiet.errorLevel, 0);
    QCOMPARE(quiet.output.trimmed(), QString("1 file(s) copied."));

    const Run echoing = interpret(copy + "\r\n");
    QVERIFY2(echoing.output.contains(">" + copy), qPrintable(echoing.output));

    const Run offAgain = interpret("echo off\n" + copy + "\n");
    QVERIFY(offAgain.output.contains(">echo off"));
    QVERIFY(!offAgain.output.contains(">" + copy));
}

void BatchInterpreterTest::runsAFileWithEitherLineEnd()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("a.bin"), "AA");
    testfiles::write(dir.filePath("b.gba"), "BBB");
    for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\n")}) {
        const QByteArray text = "@echo off" + end + "copy /b \"" + dir.filePath("a.bin").toUtf8() + "\"+\"" +
                                dir.filePath("b.gba").toUtf8() + "\" \"" + dir.filePath("m.gba").toUtf8() + "\"" + end;
        testfiles::write(dir.filePath("flash.bat"), text);
        BatchInterpreter interpreter({});
        QCOMPARE(interpreter.runFile(dir.filePath("flash.bat")), 0);
        QCOMPARE(testfiles::read(dir.filePath("m.gba")), QByteArray("AABBB"));
        QFile::remove(dir.filePath("m.gba"));
    }
    BatchInterpreter interpreter({});
    QCOMPARE(interpreter.runFile(dir.filePath("no such.bat")), 1);
}

QTEST_GUILESS_MAIN(BatchInterpreterTest)
#include "tst_batch_interpreter.moc"
