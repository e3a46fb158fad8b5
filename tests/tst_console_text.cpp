// What the console keeps of a program's output: a bounded tail, with progress lines
// that overwrite themselves; and what a run keeps of a tool's error output for its message.
#include "run/ConsoleText.h"
#include "run/RunOutcome.h"

#include <QTest>

using run::ConsoleText;

class ConsoleTextTest : public QObject {
    Q_OBJECT

private slots:
    void shows_data();
    void shows();
    void staysBounded_data();
    void staysBounded();
    void errorTailKeepsTheLastWords_data();
    void errorTailKeepsTheLastWords();
};

void ConsoleTextTest::shows_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QString>("text");

    QTest::newRow("lines as they come") << QList<QByteArray>{"one\ntw", "o\nthr"} << "one\ntwo\nthr";
    QTest::newRow("CR LF ends a line") << QList<QByteArray>{"a\r\nb\r\n"} << "a\nb\n";
    QTest::newRow("CR goes back to the start of the line")
        << QList<QByteArray>{"Written 1 of 8 KiB\r", "Written 8 of 8 KiB\r"} << "Written 8 of 8 KiB";
    QTest::newRow("a shorter text overwrites only its own width") << QList<QByteArray>{"100%\r5"} << "500%";
    QTest::newRow("the break may fall between chunks") << QList<QByteArray>{"ab\r", "\ncd"} << "ab\ncd";
}

void ConsoleTextTest::shows()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QString, text);
    ConsoleText console;
    for (const QByteArray& chunk : chunks)
        console.append(chunk);
    QCOMPARE(console.text(), text);
}

void ConsoleTextTest::staysBounded_data()
{
    QTest::addColumn<QByteArray>("line"); // written again and again, 8 MiB in all
    QTest::addColumn<int>("chunk");

    QTest::newRow("short lines, one chunk") << QByteArray("progress line\n") << (16 << 20);
    QTest::newRow("short lines, small chunks") << QByteArray("progress line\n") << 4096;
    QTest::newRow("no line break at all") << QByteArray("x") << 65536;
    QTest::newRow("progress with CR only") << QByteArray("Written 12345 KiB\r") << 65536;
    QTest::newRow("long lines") << (QByteArray(200 * 1024, 'w') + "\n") << 65536;
}

void ConsoleTextTest::staysBounded()
{
    QFETCH(QByteArray, line);
    QFETCH(int, chunk);
    QByteArray all;
    while (all.size() < 8 * 1024 * 1024)
        all += line;
    all += "\nthe end";
    ConsoleText console;
    for (qsizetype at = 0; at < all.size(); at += chunk)
        console.append(all.mid(at, chunk));
    const QString text = console.text();
    QVERIFY(text.endsWith("the end"));
    QVERIFY(text.size() <= ConsoleText::maxBytes + ConsoleText::maxLineBytes);
    QVERIFY(text.count('\n') <= ConsoleText::maxLines);
}

void ConsoleTextTest::errorTailKeepsTheLastWords_data()
{
    QTest::addColumn<int>("chunk"); // the error output arrives in pieces of this size
    QTest::newRow("in one piece") << 20000;
    QTest::newRow("in pieces of 1,000 bytes") << 1000;
    QTest::newRow("in pieces of 4,096 bytes") << 4096;
}

// A tool that complains at length before it says what went wrong: its message is the end, whatever
// came before.
void ConsoleTextTest::errorTailKeepsTheLastWords()
{
    QFETCH(int, chunk);
    const QByteArray said = "first words\n" + QByteArray(10000, 'x') + "\nchecksum wrong at 0x1F00\n";
    run::ErrorTail tail;
    for (qsizetype at = 0; at < said.size(); at += chunk)
        tail.append(said.mid(at, chunk));
    QVERIFY(tail.text().endsWith("checksum wrong at 0x1F00\n"));
    QVERIFY(!tail.text().contains("first words"));
    QVERIFY(tail.text().size() <= 4096);
}

QTEST_GUILESS_MAIN(ConsoleTextTest)
#include "tst_console_text.moc"
