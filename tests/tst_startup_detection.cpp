// Start-up detection of the loader and the tool, and how paths are composed from the browser's folder.
#include "multirom/PathRules.h"
#include "multirom/StartupDetection.h"
#include "platform/FileSystem.h"
#include "platform/FolderReader.h"
#include "platform/Platform.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class StartupDetectionTest : public QObject {
    Q_OBJECT

private slots:
    void detection_data();
    void detection();
    void pathsComposeFromBrowserFolderAsWritten();
    void composition_data();
    void composition();
    void ordinaryFiles_data();
    void ordinaryFiles();
    void unreadableFolderReportsTheSystemReason();
};

void StartupDetectionTest::detection_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("loaderName"); // empty: not found
    QTest::addColumn<QString>("toolName");

    auto row = [](const char* name, const QStringList& files, const QStringList& folders, const char* loader,
                  const char* tool) { QTest::newRow(name) << files << folders << QString(loader) << QString(tool); };
    row("usual names", {"gbaldr32.bin", "OB.exe"}, {}, "gbaldr32.bin", "OB.exe");
    row("loader upper case, tool mixed case", {"GBALDR32.BIN", "Ob.Exe"}, {}, "GBALDR32.BIN", "Ob.Exe");
    row("folders named like them", {}, {"gbaldr32.bin", "ob.exe", "multi.gba"}, "", "");
    row("hidden files are not ordinary", {".gbaldr32.bin", ".OB.exe"}, {}, "", "");
    row("names that only start alike", {"gbaldr32.bin.bak", "xob.exe"}, {}, "", "");
    row("neither", {"a.gba"}, {}, "", "");
}

void StartupDetectionTest::detection()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QString, loaderName);
    QFETCH(QString, toolName);
    QTemporaryDir dir;
    for (const QString& name : files)
        testfiles::write(dir.filePath(name), "x");
    for (const QString& name : folders)
        QVERIFY(QDir(dir.path()).mkdir(name));

    const QString folder = testfiles::native(dir.path());
    const multirom::StartupPaths paths = multirom::composeStartupPaths(multirom::detectStartupFiles(folder), folder);
    // Where letter case tells names apart, the name on disk; elsewhere the usual forms.
    const bool asOnDisk = platform::fileNamesAreCaseSensitive();
    const QString loader = asOnDisk ? loaderName : QString("gbaldr32.bin");
    const QString tool = asOnDisk ? toolName : QString("OB.exe");
    QCOMPARE(paths.loader, loaderName.isEmpty() ? QString() : testfiles::native(dir.filePath(loader)));
    QCOMPARE(paths.tool, toolName.isEmpty() ? QString() : testfiles::native(dir.filePath(tool)));
    QCOMPARE(paths.output, testfiles::native(dir.filePath("multi.gba")));
    // Whatever was found must name a file that really is there.
    if (!paths.loader.isEmpty())
        QVERIFY(platform::isOrdinaryFile(paths.loader));
    if (!paths.tool.isEmpty())
        QVERIFY(platform::isOrdinaryFile(paths.tool));
}

void StartupDetectionTest::pathsComposeFromBrowserFolderAsWritten()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("gbaldr32.bin"), "x");
    const multirom::StartupPaths atRoot =
        multirom::composeStartupPaths(multirom::detectStartupFiles(dir.path()), platform::primaryRoot());
    QCOMPARE(atRoot.loader, testfiles::here("//gbaldr32.bin"));
    QCOMPARE(atRoot.output, testfiles::here("//multi.gba"));
    QVERIFY(atRoot.tool.isEmpty());
}

void StartupDetectionTest::composition_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inFolder");
    QTest::addColumn<QString>("gamePath");

    auto row = [](const char* name, const char* folder, const char* file, const char* inFolder, const char* game) {
        QTest::newRow(name) << testfiles::here(folder) << QString(file) << testfiles::here(inFolder)
                            << testfiles::here(game);
    };
    row("ordinary folder", "/roms", "a.gba", "/roms/a.gba", "/roms/a.gba");
    row("root keeps the doubled separator, games do not", "/", "a.gba", "//a.gba", "/a.gba");
    row("blanks and symbols unchanged", "/my roms", "b & c%.gba", "/my roms/b & c%.gba", "/my roms/b & c%.gba");
}

void StartupDetectionTest::composition()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, inFolder);
    QFETCH(QString, gamePath);
    QCOMPARE(multirom::composeInFolder(folder, name), inFolder);
    QCOMPARE(multirom::composeGamePath(folder, name), gamePath);
}

void StartupDetectionTest::ordinaryFiles_data()
{
    QTest::addColumn<QString>("create"); // "file", "folder", "hidden", "none"
    QTest::addColumn<bool>("doubledSeparator");
    QTest::addColumn<bool>("ordinary");

    QTest::newRow("file") << "file" << false << true;
    QTest::newRow("file through a doubled separator") << "file" << true << true;
    QTest::newRow("folder") << "folder" << false << false;
    QTest::newRow("missing") << "none" << false << false;
    QTest::newRow("under a regular file") << "under-file" << false << false;
}

void StartupDetectionTest::ordinaryFiles()
{
    QFETCH(QString, create);
    QFETCH(bool, doubledSeparator);
    QFETCH(bool, ordinary);
    QTemporaryDir dir;
    QString path = dir.filePath("multi.gba");
    if (create == "file")
        testfiles::write(path, "m");
    else if (create == "folder")
        QVERIFY(QDir(dir.path()).mkdir("multi.gba"));
    else if (create == "under-file") {
        testfiles::write(dir.filePath("plain"), "p");
        path = dir.filePath("plain/multi.gba");
    }
    if (doubledSeparator)
        path = dir.path() + "//multi.gba";
    QCOMPARE(platform::isOrdinaryFile(path), ordinary);
}

void StartupDetectionTest::unreadableFolderReportsTheSystemReason()
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("plain"), "p");
    platform::FolderQuery query;
    query.folders = query.files = true;
    const platform::FolderListing listing = platform::readFolder(dir.filePath("plain"), query);
    QVERIFY(!listing.readable);
#ifdef Q_OS_WIN
    QCOMPARE(listing.error, QString("The directory name is invalid."));
#else
    QCOMPARE(listing.error, platform::systemErrorText(ENOTDIR));
#endif
    QVERIFY(listing.files.isEmpty());
}

QTEST_GUILESS_MAIN(StartupDetectionTest)
#include "tst_startup_detection.moc"
