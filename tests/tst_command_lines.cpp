// The flash tool's four command lines, as text and as the argument vector the tool receives.
#include "cart/CartOperations.h"
#include "cart/ToolCommands.h"
#include "controls/FileFilter.h"
#include "multirom/CompilePlan.h"

#include <QTest>

using cart::PortSettings;
using run::CommandLine;

Q_DECLARE_METATYPE(CommandLine)

namespace {

PortSettings port(const QString& tool, int lpt = 1, bool epp = true, const QString& wait = "0")
{
    PortSettings settings;
    settings.toolPath = tool;
    settings.port = lpt;
    settings.epp = epp;
    settings.waitStep = wait;
    return settings;
}

} // namespace

namespace {

// An 8-bit code page of the tests' choosing: Latin-1.
std::optional<QByteArray> latin1Encoder(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
    }
    return text.toLatin1();
}

} // namespace

class CommandLinesTest : public QObject {
    Q_OBJECT

private slots:
    void toolCommands_data();
    void toolCommands();
    void copyLine_data();
    void copyLine();
    void batchFileHasTwoCrLfLines();
    void unquotablePaths();
    void windowsArgumentQuoting_data();
    void windowsArgumentQuoting();
    void batchFileCodePage_data();
    void batchFileCodePage();
    void toolArgumentCodePage_data();
    void toolArgumentCodePage();
    void chooserFilters_data();
    void chooserFilters();
};

void CommandLinesTest::toolCommands_data()
{
    QTest::addColumn<CommandLine>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");

    const QString tool = "C:\\T\\OB.exe";
    // The arguments the tool receives, separated here by "|".
    auto row = [](const char* name, const CommandLine& command, const char* text, const char* arguments) {
        QTest::newRow(name) << command << QString(text) << QString(arguments).split('|');
    };
    // clang-format off
    row("flash as loaded", cart::flashCommand(port(tool), true, "C:\\M\\multi.gba"),
        "C:\\T\\OB.exe -2 -w 0 -l 1 -p C:\\M\\multi.gba", "-2|-w|0|-l|1|-p|C:\\M\\multi.gba");
    row("flash without header repair or EPP", cart::flashCommand(port(tool, 1, false), false, "C:\\M\\multi.gba"),
        "C:\\T\\OB.exe -n -w 0 -l 1 -p C:\\M\\multi.gba", "-n|-w|0|-l|1|-p|C:\\M\\multi.gba");
    row("flash: header flag comes before EPP", cart::flashCommand(port(tool), false, "m.gba"),
        "C:\\T\\OB.exe -n -2 -w 0 -l 1 -p m.gba", "-n|-2|-w|0|-l|1|-p|m.gba");
    row("wait step with a blank is passed with it", cart::flashCommand(port(tool, 3, true, " 5"), true, "m.gba"),
        "C:\\T\\OB.exe -2 -w \" 5\" -l 3 -p m.gba", "-2|-w| 5|-l|3|-p|m.gba");
    row("paths with blanks stay one argument", cart::flashCommand(port("/opt/my tools/OB.exe"), true, "/home/me/my games/multi.gba"),
        "/opt/my tools/OB.exe -2 -w 0 -l 1 -p \"/home/me/my games/multi.gba\"", "-2|-w|0|-l|1|-p|/home/me/my games/multi.gba");
    row("save backup as loaded", cart::saveBackupCommand(port(tool), 1, 1, "C:\\S\\game.sav"),
        "C:\\T\\OB.exe -2 -w 0 -l 1 -b 1 1 C:\\S\\game.sav", "-2|-w|0|-l|1|-b|1|1|C:\\S\\game.sav");
    row("save backup bank 2, 128K (size code 3)", cart::saveBackupCommand(port(tool), 2, 3, "s.sav"),
        "C:\\T\\OB.exe -2 -w 0 -l 1 -b 2 3 s.sav", "-2|-w|0|-l|1|-b|2|3|s.sav");
    row("save restore as loaded", cart::saveRestoreCommand(port(tool), 1, "C:\\S\\game.sav"),
        "C:\\T\\OB.exe -2 -w 0 -l 1 -r 1 C:\\S\\game.sav", "-2|-w|0|-l|1|-r|1|C:\\S\\game.sav");
    row("cart backup as loaded", cart::cartBackupCommand(port(tool), 32, "C:\\B\\cart.gba"),
        "C:\\T\\OB.exe -2 -w 0 -l 1 -c 32 -s C:\\B\\cart.gba", "-2|-w|0|-l|1|-c|32|-s|C:\\B\\cart.gba");
    row("cart backup 256 Mbit on LPT4, no EPP", cart::cartBackupCommand(port(tool, 4, false, "12"), 256, "c.gba"),
        "C:\\T\\OB.exe -w 12 -l 4 -c 256 -s c.gba", "-w|12|-l|4|-c|256|-s|c.gba");
    // clang-format on
}

void CommandLinesTest::toolCommands()
{
    QFETCH(CommandLine, command);
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QCOMPARE(command.toString(), text);
    QCOMPARE(command.arguments(), arguments);
    QVERIFY(!command.namesBatchFile());
}

void CommandLinesTest::copyLine_data()
{
    QTest::addColumn<QString>("loader");
    QTest::addColumn<QStringList>("games");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("line");

    auto row = [](const char* name, const char* loader, const QStringList& games, const char* output,
                  const char* line) {
        QTest::newRow(name) << QString(loader) << games << QString(output) << QString(line);
    };
    // clang-format off
    row("one game", "/gba/gbaldr32.bin", {"/roms/a.gba"}, "/gba/multi.gba", R"(copy /b "/gba/gbaldr32.bin"+"/roms/a.gba" "/gba/multi.gba")");
    row("three games", "/l.bin", {"/r/a.gba", "/r/b b.gba", "/r/c.gba"}, "/m.gba", R"(copy /b "/l.bin"+"/r/a.gba"+"/r/b b.gba"+"/r/c.gba" "/m.gba")");
    row("blanks in loader and output are quoted too", "/my gba/gbaldr32.bin", {"/r/a.gba"}, "/my out/multi.gba", R"(copy /b "/my gba/gbaldr32.bin"+"/r/a.gba" "/my out/multi.gba")");
    row("percent doubled everywhere", "/100%/l.bin", {"/r/%PATH%.gba"}, "/o%/m.gba", R"(copy /b "/100%%/l.bin"+"/r/%%PATH%%.gba" "/o%%/m.gba")");
    row("ampersand and non-ASCII unchanged", "/a&b/l.bin", {"/r/Pokémon & co.gba"}, "/ü/m.gba", R"(copy /b "/a&b/l.bin"+"/r/Pokémon & co.gba" "/ü/m.gba")");
    row("root folder", "//gbaldr32.bin", {"/a.gba"}, "//multi.gba", R"(copy /b "//gbaldr32.bin"+"/a.gba" "//multi.gba")");
    // clang-format on
}

void CommandLinesTest::copyLine()
{
    QFETCH(QString, loader);
    QFETCH(QStringList, games);
    QFETCH(QString, output);
    QFETCH(QString, line);
    QCOMPARE(multirom::copyLine(loader, games, output), line);
}

void CommandLinesTest::batchFileHasTwoCrLfLines()
{
    const QByteArray content = multirom::batchFileContent(R"(copy /b "/l.bin"+"/ä.gba" "/m.gba")");
    // The letter in the code page the command interpreter reads: UTF-8 here, the console's elsewhere.
    const QByteArray letter = platform::batchFileEncoder()(QStringLiteral("ä")).value_or(QByteArray());
    QVERIFY(!letter.isEmpty());
    QCOMPARE(content, "@echo off\r\ncopy /b \"/l.bin\"+\"/" + letter + ".gba\" \"/m.gba\"\r\n");
}

void CommandLinesTest::unquotablePaths()
{
    QCOMPARE(multirom::firstUnquotablePath({"/a", "/b\"c", "/d\""}), std::optional<QString>("/b\"c"));
    QCOMPARE(multirom::firstUnquotablePath({"/a", "/line\nbreak", "/b\"c"}), std::optional<QString>("/line\nbreak"));
    QCOMPARE(multirom::firstUnquotablePath({"/a", "/carriage\rreturn"}), std::optional<QString>("/carriage\rreturn"));
    QCOMPARE(multirom::firstUnquotablePath({"/a b", "/c&d", "/e%f", "/ünï"}), std::nullopt);
}

void CommandLinesTest::windowsArgumentQuoting_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("quoted");
    auto row = [](const char* name, const char* argument, const char* quoted) {
        QTest::newRow(name) << QString(argument) << QString(quoted);
    };
    row("plain", "-w", "-w");
    row("no blank: backslashes and quotes as they are", R"(C:\a"b\)", R"(C:\a"b\)");
    row("a path with a blank", R"(C:\My Games\cart.gba)", R"("C:\My Games\cart.gba")");
    row("a tab", "a\tb", "\"a\tb\"");
    row("a blank and a trailing backslash", R"(C:\My Games\)", R"("C:\My Games\\")");
    row("a blank and quotes", R"(say "hi" \"x)", R"("say \"hi\" \\\"x")");
    row("a wait step with a blank", " 5", "\" 5\"");
}

void CommandLinesTest::windowsArgumentQuoting()
{
    QFETCH(QString, argument);
    QFETCH(QString, quoted);
    QCOMPARE(run::quotedArgument(argument), quoted);
}

void CommandLinesTest::batchFileCodePage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("form");    // as flash.bat carries it; empty: none
    QTest::addColumn<QString>("refusal"); // empty: none
    QTest::newRow("letters the code page has") << "/\u00c4rger & \u00df.gba"
                                               << "/\u00c4rger & \u00df.gba"
                                               << "";
    QTest::newRow("by its short name") << "/\u65e5\u672c.gba"
                                       << "/NIHON~1.GBA"
                                       << "";
    QTest::newRow("no short name")
        << "/d\u03a9.gba"
        << ""
        << "/d\u03a9.gba cannot be passed to the copy: rename it or its folder without letters such as '\u03a9'";
    QTest::newRow("a letter beyond 16 bits") << QString::fromUtf8("/\xf0\x9f\x8e\xae.gba") << ""
                                             << QString::fromUtf8("/\xf0\x9f\x8e\xae.gba cannot be passed to the "
                                                                  "copy: rename it or its folder without letters "
                                                                  "such as '\xf0\x9f\x8e\xae'");
}

void CommandLinesTest::batchFileCodePage()
{
    QFETCH(QString, path);
    QFETCH(QString, form);
    QFETCH(QString, refusal);
    // An 8-bit code page of the test's choosing: Latin-1; one file on a volume with short names.
    const platform::BatchEncoder latin1 = latin1Encoder;
    const multirom::ShortPathName shortName = [](const QString& of) {
        return of == QString::fromUtf8("/\xe6\x97\xa5\xe6\x9c\xac.gba") ? QStringLiteral("/NIHON~1.GBA") : QString();
    };
    QCOMPARE(multirom::batchForm(path, latin1, shortName).value_or(QString()), form);
    if (!refusal.isEmpty())
        QCOMPARE(multirom::noBatchFormMessage(path, path, latin1), refusal);
    else
        QCOMPARE(multirom::batchFileContent(multirom::copyLine("/l.bin", {form}, "/m.gba"), latin1),
                 "@echo off\r\ncopy /b \"/l.bin\"+\"" + latin1(form).value() + "\" \"/m.gba\"\r\n");
}

// An old tool reads its command line in the ANSI code page: a path it would read with "?" goes by its
// short name, or its folder's for a file the tool makes; one that has neither is refused by its letter.
void CommandLinesTest::toolArgumentCodePage_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("form");                                   // empty: refused
    const QString nihon = QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac"); // two letters Latin-1 lacks
    QTest::newRow("a path the code page holds") << QString::fromUtf8("/L\xc3\xb3"
                                                                     "dz/game.sav")
                                                << QString::fromUtf8("/L\xc3\xb3"
                                                                     "dz/game.sav");
    QTest::newRow("a file with a short name") << "/" + nihon + ".gba"
                                              << "/NIHON~1.GBA";
    QTest::newRow("a file to make, in a folder with a short name") << "/" + nihon + "/new.sav"
                                                                   << "/NIHON~2/new.sav";
    QTest::newRow("a file to make at the root") << "/" + nihon + "2.sav"
                                                << "";
    QTest::newRow("a file to make whose own name the page lacks") << "/" + nihon + "/" + nihon + ".sav"
                                                                  << "";
    QTest::newRow("no short name") << "/" + nihon + "3/game.sav"
                                   << "";
}

void CommandLinesTest::toolArgumentCodePage()
{
    QFETCH(QString, path);
    QFETCH(QString, form);
    const platform::BatchEncoder latin1 = latin1Encoder;
    const QString nihon = QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac");
    const multirom::ShortPathName shortName = [&](const QString& of) {
        if (of == "/" + nihon + ".gba")
            return QStringLiteral("/NIHON~1.GBA");
        return of == "/" + nihon ? QStringLiteral("/NIHON~2") : QString();
    };
    QCOMPARE(cart::toolArgumentForm(path, latin1, shortName).value_or(QString()), form);
    if (form.isEmpty())
        QVERIFY(multirom::unpassablePathMessage(path, path, "the tool", latin1)
                    .endsWith(" cannot be passed to the tool: rename it or its folder without letters such as '" +
                              nihon.left(1) + "'"));
}

void CommandLinesTest::chooserFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("filters");
    auto row = [](const char* name, const char* text, const QStringList& filters) {
        QTest::newRow(name) << QString(text) << filters;
    };
    // clang-format off
    row("two pairs", "Loader Files (*.bin)|*.bin|All Files (*.*)|*.*", {"Loader Files (*.bin)", "All Files (*.*)"});
    row("a closing bar already there", "Loader Files (*.bin)|*.bin|", {"Loader Files (*.bin)"});
    row("a plain file name as the pattern", "Orbick (OB.exe)|OB.exe|Program Files (*.exe)|*.exe|All Files (*.*)|*.*", {"Orbick (OB.exe)", "Program Files (*.exe)", "All Files (*.*)"});
    row("a description without its pattern", "Saves|*.sav;*.SAV", {"Saves (*.sav *.SAV)"});
    row("a description left without a pattern", "Saves|*.sav|Rest", {"Saves (*.sav)"});
    // clang-format on
}

void CommandLinesTest::chooserFilters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, filters);
    QCOMPARE(choosers::nameFiltersFromText(text), filters);
}

QTEST_GUILESS_MAIN(CommandLinesTest)
#include "tst_command_lines.moc"
