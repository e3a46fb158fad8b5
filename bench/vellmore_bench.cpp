// Vellmore's benchmarks: each figure beside a reference measured in the same run.
#include "RomImage.h"
#include "controls/FileList.h"
#include "controls/FolderList.h"
#include "controls/GameListBox.h"
#include "mainwindow/MainWindow.h"
#include "outputfolder/OutputFolderWindow.h"
#include "runner/ProcessRunner.h"
#include "services/ProgramServices.h"
#include "support/Controls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The figures go to the standard output the bench was started with; Vellmore's own standard
// output, which passes a tool's output on in the background, goes nowhere, as from a desktop.
FILE* figures = stdout;

void report(const char* figure, double value, const char* unit, const char* reference, double referenceValue,
            const char* limit)
{
    std::fprintf(figures, "%-46s %9.1f %-3s | %-34s %9.1f %-3s | ratio %5.2f %s\n", figure, value, unit, reference,
                 referenceValue, unit, referenceValue > 0 ? value / referenceValue : 0.0, limit);
    std::fflush(figures);
}

void fillFolder(const QString& folder, int games, int others)
{
    QDir().mkpath(folder);
    const QByteArray body = romimage::makeGameImage("BENCH", "BNCH", 256);
    for (int i = 0; i < games + others; ++i) {
        QFile file(folder +
                   QStringLiteral("/game %1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(i < games ? "gba" : "txt"));
        file.open(QIODevice::WriteOnly);
        file.write(body);
    }
}

double msSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

void keepVellmoreOutputAway()
{
    std::fflush(stdout);
    figures = ::fdopen(::dup(STDOUT_FILENO), "w");
    const int nowhere = ::open("/dev/null", O_WRONLY);
    ::dup2(nowhere, STDOUT_FILENO);
    ::close(nowhere);
}

double timeProcess(const QString& program, const QStringList& arguments, const QString& folder,
                   const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    return msSince(timer);
}

// Answers every message box; returns the time from start until the first one appeared.
double timeUntilMessage(const std::function<void()>& action, QString* text)
{
    QElapsedTimer timer;
    double shownAfter = -1;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (shownAfter < 0) {
                shownAfter = msSince(timer);
                *text = box->text();
            }
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start();
    timer.start();
    action();
    poll.stop();
    return shownAfter;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void benchStartupAndBrowse(const QString& root)
{
    const QString big = root + QStringLiteral("/big");
    fillFolder(big, 5000, 5000);
    // On a display server when there is one: that is where a window is shown to a person.
    // Without one (offscreen) the empty window costs next to nothing, as no font is ever loaded.
    auto startup = [&](const char* figure, const QProcessEnvironment& environment, const char* limit) {
        QVector<double> vellmore, empty, text;
        for (int round = 0; round < 21; ++round) {
            vellmore.append(timeProcess(QStringLiteral(STARTUP_PROBE), {QStringLiteral("vellmore")}, big, environment));
            empty.append(timeProcess(QStringLiteral(STARTUP_PROBE), {QStringLiteral("empty")}, big, environment));
            text.append(timeProcess(QStringLiteral(STARTUP_PROBE), {QStringLiteral("text")}, big, environment));
        }
        report(figure, median(vellmore), "ms", "empty Qt window", median(empty), limit);
        report("  the same against a window of one line of text", median(vellmore), "ms", "Qt window with a QLabel",
               median(text), "");
    };
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (qEnvironmentVariableIsSet("DISPLAY")) {
        QProcessEnvironment display = QProcessEnvironment::systemEnvironment();
        display.remove(QStringLiteral("QT_QPA_PLATFORM"));
        startup("start-up to first window, 10,000 files, X", display, "(limit 1.5)");
    }
    startup("  the same offscreen, without a display", offscreen, "");

    QDir::setCurrent(root);
    ProgramServices services;
    MainWindow window(services);
    window.loadStartupFiles();
    window.show();
    QVector<double> browse;
    for (int round = 0; round < 5; ++round) {
        control<FolderList>(&window, "dirdialog")->setPath(root);
        QElapsedTimer timer;
        timer.start();
        control<FolderList>(&window, "dirdialog")->setPath(big);
        browse.append(msSince(timer));
    }
    QProcess ls;
    QElapsedTimer lsTimer;
    lsTimer.start();
    ls.start(QStringLiteral("ls"), {QStringLiteral("-f"), big});
    ls.waitForFinished(-1);
    report("browse into that folder (main thread)", median(browse), "ms", "ls -f of the folder", msSince(lsTimer),
           "(limit 100 ms)");
}

// Opening a folder of 100,000 subfolders in the output folder window, until it is shown again.
void benchFolderWindow(const QString& root)
{
    const QString crowded = root + QStringLiteral("/crowded");
    QDir().mkpath(crowded);
    for (int i = 0; i < 100000; ++i)
        QDir().mkdir(crowded + QStringLiteral("/folder %1").arg(i, 6, 10, QLatin1Char('0')));
    QDir::setCurrent(root);
    ProgramServices services;
    OutputFolderWindow window(services);
    window.show();
    QCoreApplication::processEvents();
    QVector<double> opens, lists;
    for (int round = 0; round < 5; ++round) {
        control<FolderList>(&window, "Dir1")->setPath(root);
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        control<FolderList>(&window, "Dir1")->setPath(crowded);
        control<FolderList>(&window, "Dir1")->repaint();
        QCoreApplication::processEvents();
        opens.append(msSince(timer));
        lists.append(timeProcess(QStringLiteral("ls"), {QStringLiteral("-f"), crowded}, root,
                                 QProcessEnvironment::systemEnvironment()));
    }
    if (control<FolderList>(&window, "Dir1")->count() < 100000)
        std::fprintf(figures, "the output folder window lists %d folders, not 100,000\n",
                     control<FolderList>(&window, "Dir1")->count());
    report("open 100,000 subfolders, output folder window", median(opens), "ms", "ls -f of the folder", median(lists),
           "(goal 300 ms)");
}

void benchGameList(const QString& root)
{
    const QString first = root + QStringLiteral("/first");
    const QString second = root + QStringLiteral("/second");
    fillFolder(first, 5000, 0);
    fillFolder(second, 5000, 0);
    QDir::setCurrent(root);
    ProgramServices services;
    MainWindow window(services);
    window.show();

    auto addAll = [&](const QString& folder) {
        control<FolderList>(&window, "dirdialog")->setPath(folder);
        control<FileList>(&window, "filedialog")->selectAll();
        control<FileList>(&window, "filedialog")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        QCoreApplication::processEvents(); // the browser's own updates are not the Add's
        QElapsedTimer timer;
        timer.start();
        control<QPushButton>(&window, "addbtn")->click();
        QCoreApplication::processEvents(); // until the list is laid out again
        return msSince(timer);
    };
    QVector<double> adds, references;
    QStringList paths;
    for (int round = 0; round < 9; ++round) {
        control<QPushButton>(&window, "reset")->click();
        addAll(first);
        adds.append(addAll(second));

        if (paths.isEmpty()) {
            for (const QString& name : control<FileList>(&window, "filedialog")->texts())
                paths.append(second + QLatin1Char('/') + name);
        }
        // The same kind of list, shown, holding 5,000 entries, and likewise timed until laid out.
        QListWidget reference;
        reference.setUniformItemSizes(true);
        reference.resize(control<GameListBox>(&window, "listdialog")->size());
        reference.show();
        reference.addItems(control<GameListBox>(&window, "listdialog")->entries().mid(0, 5000));
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        reference.addItems(paths);
        reference.setCurrentRow(reference.count() - 1);
        QCoreApplication::processEvents();
        references.append(msSince(timer));
    }
    report("Add 5,000 selected files to 5,000 entries", median(adds), "ms", "QListWidget::addItems, 5,000 paths",
           median(references), "(limit 2.5)");

    // Move down on the last entry wraps it to the top; move up brings it back. Each step is
    // timed until the list is shown again, as is the reference: one takeItem and insertItem in a
    // QListWidget of the same entries, shown at the same size.
    GameListBox* list = control<GameListBox>(&window, "listdialog");
    QListWidget reference;
    reference.setUniformItemSizes(true);
    reference.resize(list->size());
    reference.addItems(list->entries());
    reference.show();
    QCoreApplication::processEvents();
    auto timeSteps = [&](const std::function<void(int)>& step) {
        QVector<double> times;
        for (int i = 0; i < 50; ++i) {
            QElapsedTimer timer;
            timer.start();
            step(i);
            QCoreApplication::processEvents();
            times.append(msSince(timer) * 1000.0);
        }
        return median(times);
    };
    const double move = timeSteps([&](int i) {
        list->setCurrentRow(i % 2 ? 0 : list->count() - 1);
        if (i % 2)
            control<QPushButton>(&window, "moveup")->click();
        else
            control<QPushButton>(&window, "movedown")->click();
    });
    const double raw = timeSteps([&](int i) {
        if (i % 2)
            reference.insertItem(reference.count(), reference.takeItem(0));
        else
            reference.insertItem(0, reference.takeItem(reference.count() - 1));
    });
    report("Move the last entry, 10,000 entries", move, "us", "one takeItem and insertItem", raw, "");
}

void writeFilled(const QString& path, qint64 size, int seed)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block(1 << 20, char(seed));
    for (qint64 done = 0; done < size; done += block.size())
        file.write(block.constData(), qMin<qint64>(block.size(), size - done));
}

void benchCompile(const QString& root, int totalMiB)
{
    const QString folder = root + QStringLiteral("/compile%1").arg(totalMiB);
    QDir().mkpath(folder);
    writeFilled(folder + QStringLiteral("/gbaldr32.bin"), 32 * 1024, 1);
    writeFilled(folder + QStringLiteral("/OB.exe"), 16, 2);
    QStringList games;
    const int gameCount = 8;
    const qint64 gameSize = qint64(totalMiB) * 1024 * 1024 / gameCount - 4096;
    for (int i = 0; i < gameCount; ++i) {
        games.append(folder + QStringLiteral("/game %1.gba").arg(i));
        writeFilled(games.last(), gameSize, 3 + i);
    }
    QDir::setCurrent(folder);
    ProgramServices services;
    MainWindow window(services);
    window.loadStartupFiles();
    window.show();
    control<GameListBox>(&window, "listdialog")->addItems(games);
    const QString output = control<QLineEdit>(&window, "multitxt")->text();

    QVector<double> compile, cat;
    for (int round = 0; round < 3; ++round) {
        QFile::remove(output);
        QStringList sources{folder + QStringLiteral("/gbaldr32.bin")};
        sources += games;
        QProcess process;
        process.setStandardOutputFile(output);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral("cat"), sources);
        process.waitForFinished(-1);
        cat.append(msSince(timer));

        QFile::remove(output);
        QString message;
        {
            compile.append(timeUntilMessage([&] { control<QPushButton>(&window, "compilebtn")->click(); }, &message));
        }
        if (!message.startsWith(QStringLiteral("Compiled to ")))
            std::fprintf(figures, "compile did not succeed: %s\n", qPrintable(message));
        window.setPathsFrozen(false);
    }
    const QByteArray figure = QStringLiteral("compile %1 MiB through flash.bat").arg(totalMiB).toUtf8();
    report(figure.constData(), median(compile), "ms", "cat of the same files", median(cat),
           totalMiB >= 256 ? "(limit 1.3)" : "");
    std::fprintf(figures, "%-46s %9ld KiB\n",
                 QStringLiteral("  peak resident set after %1 MiB").arg(totalMiB).toUtf8().constData(),
                 peakResidentKiB());
    for (const QString& game : games)
        QFile::remove(game);
    QFile::remove(output);
}

// vellmore-cli: compile against cat, and verify against cmp of the same two files, with the
// simulator's read-back (the same backup, timed alone) taken out.
void benchCli(const QString& root)
{
    const QString folder = root + QStringLiteral("/cli");
    QDir().mkpath(folder);
    QFile::copy(QStringLiteral(OBSIM_PATH), folder + QStringLiteral("/OB.exe"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OBSIM_CART"), folder + QStringLiteral("/cart"));
    const QString loader = folder + QStringLiteral("/loader.bin");
    writeFilled(loader, 32 * 1024, 1);
    auto timed = [&](const QString& program, const QStringList& arguments, const QString& into = QString()) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.setStandardOutputFile(into.isEmpty() ? QProcess::nullDevice() : into);
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        process.waitForFinished(-1);
        return msSince(timer);
    };
    for (const int totalMiB : {32, 256}) {
        QStringList games;
        for (int i = 0; i < 8; ++i) {
            games.append(folder + QStringLiteral("/game %1.gba").arg(i));
            writeFilled(games.last(), qint64(totalMiB) * 1024 * 1024 / 8 - 4096, 3 + i);
        }
        QVector<double> cli, cat;
        for (int round = 0; round < 3; ++round) {
            QFile::remove(folder + QStringLiteral("/multi.gba"));
            cat.append(
                timed(QStringLiteral("cat"), QStringList{loader} + games, folder + QStringLiteral("/multi.gba")));
            QFile::remove(folder + QStringLiteral("/multi.gba"));
            cli.append(timed(QStringLiteral(CLI_PATH),
                             QStringList{QStringLiteral("compile"), QStringLiteral("--loader"), loader,
                                         QStringLiteral("--output"), QStringLiteral("multi.gba")} +
                                 games));
        }
        const QByteArray figure = QStringLiteral("vellmore-cli compile %1 MiB").arg(totalMiB).toUtf8();
        report(figure.constData(), median(cli), "ms", "cat of the same files", median(cat), "(aim 1.2)");
        for (const QString& game : games)
            QFile::remove(game);
        if (totalMiB != 32) // 32 MiB: a 256 Mbit cart, whole
            continue;
        // The cart as the multirom, byte for byte: the whole of both is compared.
        timed(QStringLiteral(CLI_PATH),
              {QStringLiteral("flash"), QStringLiteral("--no-header-repair"), QStringLiteral("--tool"),
               QStringLiteral("OB.exe"), QStringLiteral("multi.gba")});
        QVector<double> verify, readBack, cmp;
        for (int round = 0; round < 7; ++round) {
            // As it was flashed: the header as it is, so that every byte is compared and all match.
            verify.append(timed(QStringLiteral(CLI_PATH),
                                {QStringLiteral("verify"), QStringLiteral("--no-header-repair"),
                                 QStringLiteral("--tool"), QStringLiteral("OB.exe"), QStringLiteral("--chip"),
                                 QStringLiteral("256"), QStringLiteral("multi.gba")}));
            QFile::remove(folder + QStringLiteral("/back.gba"));
            readBack.append(timed(folder + QStringLiteral("/OB.exe"),
                                  {QStringLiteral("-2"), QStringLiteral("-w"), QStringLiteral("0"),
                                   QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-c"),
                                   QStringLiteral("256"), QStringLiteral("-s"), QStringLiteral("back.gba")}));
            cmp.append(
                timed(QStringLiteral("cmp"),
                      {QStringLiteral("-n"), QString::number(QFileInfo(folder + QStringLiteral("/multi.gba")).size()),
                       QStringLiteral("multi.gba"), QStringLiteral("back.gba")}));
        }
        report("vellmore-cli verify 256 Mbit, read-back aside", median(verify) - median(readBack), "ms",
               "cmp of the same two files", median(cmp), "(aim 1.5)");
    }
    QFile::remove(folder + QStringLiteral("/multi.gba"));
    QFile::remove(folder + QStringLiteral("/back.gba"));
}

// A tool that writes 50 MiB, run through Vellmore (console and all) and piped into cat.
void benchConsoleOutput()
{
    for (const char* mode : {"lines", "no-breaks", "progress"}) {
        QVector<double> vellmore, cat;
        for (int round = 0; round < 9; ++round) {
            QElapsedTimer timer;
            timer.start();
            const QString pipeline = QStringLiteral("\"$0\" %1 | cat >/dev/null").arg(QLatin1String(mode));
            QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), pipeline, QStringLiteral(OUTPUT_WRITER)});
            cat.append(msSince(timer));
            run::RunOutcome ran;
            {
                timer.start();
                ran = runner::ExecCmd(run::CommandLine(QStringLiteral(OUTPUT_WRITER), {QLatin1String(mode)}));
                QCoreApplication::processEvents();
                vellmore.append(msSince(timer));
            }
            if (!ran.succeeded())
                std::fprintf(figures, "the writer failed: %s\n", qPrintable(ran.describe()));
        }
        const QByteArray figure =
            QStringLiteral("a tool writes 50 MiB, %1, to its end").arg(QLatin1String(mode)).toUtf8();
        report(figure.constData(), median(vellmore), "ms", "the same piped into cat >/dev/null", median(cat),
               "(limit 2)");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    keepVellmoreOutputAway();
    QTemporaryDir root;
    const QString place = root.path();
    // One group alone when named ("startup", "list", "folders", "compile", "console", "cli"); every group otherwise.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    auto wanted = [&only](const char* group) { return only.isEmpty() || only == QLatin1String(group); };
    if (wanted("startup"))
        benchStartupAndBrowse(place);
    if (wanted("list"))
        benchGameList(place);
    if (wanted("compile")) {
        benchCompile(place, 32);
        benchCompile(place, 256);
    }
    if (wanted("console"))
        benchConsoleOutput();
    if (wanted("cli"))
        benchCli(place);
    if (wanted("folders"))
        benchFolderWindow(place); // last: its 100,000 entries would count in the compile's peak resident set
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
