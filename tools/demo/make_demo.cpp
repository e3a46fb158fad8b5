// vellmore-demo FOLDER lays out a folder to try Vellmore in; vellmore-demo --start lays out the
// user's own demo folder the first time and starts Vellmore there (the menu entry's action);
// vellmore-demo --tool-folder starts Vellmore in the folder for the user's own tool (Windows' menu entry).
#include "DemoFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const char* const usage = "usage: vellmore-demo --start [--from-menu] | vellmore-demo --tool-folder [--from-menu]\n"
                          "       | vellmore-demo FOLDER | vellmore-demo --help\n"
                          "  --start      lay out the demo folder in the user's data folder the first time,\n"
                          "               then start Vellmore in it, with the simulated cart\n"
                          "  --tool-folder  make the folder Vellmore in your Documents the first time (put OB.exe,\n"
                          "               gbaldr32.bin and your games there), then start Vellmore in it\n"
                          "  --from-menu  started from the application menu: a failure is shown in a message box too\n"
                          "  FOLDER       lay out FOLDER (what is there already is kept) and end\n";

// A program of the package: beside this one when installed, else wherever PATH finds it.
QString companion(const QString& name)
{
    const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

// Whether there is a screen to show Vellmore on. Windows always has one.
bool hasDisplay()
{
#ifdef Q_OS_WIN
    return true;
#else
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#endif
}

// What the menu entry that failed was to do, as its message box says it.
QString failedAction = QStringLiteral("The simulated cart could not be started");

// Said on the terminal, and in a message box when started from the menu, where no terminal shows it.
int fail(const QString& problem)
{
    std::fprintf(stderr, "vellmore-demo: %s\n", qPrintable(problem));
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vellmore"), failedAction + QStringLiteral(":\n") + problem,
                        QMessageBox::Ok);
        box.exec();
    }
    return 1;
}

int startVellmoreIn(const QString& folder, const QProcessEnvironment& environment)
{
    if (!hasDisplay())
        return fail(QStringLiteral("there is no display to show Vellmore on (DISPLAY is not set)"));
    const QString vellmore = companion(QStringLiteral("vellmore"));
    if (vellmore.isEmpty())
        return fail(QStringLiteral("cannot find vellmore"));
    QProcess process;
    process.setProgram(vellmore);
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        return fail(QStringLiteral("cannot start %1: %2").arg(vellmore, process.errorString()));
    std::printf("Vellmore started in %s\n", qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}

int startVellmoreInDemo()
{
    if (!hasDisplay())
        return fail(QStringLiteral("there is no display to show Vellmore on (DISPLAY is not set)"));
    const QString folder = demo::defaultFolder();
    const QString simulator = companion(QStringLiteral("vellmore-obsim"));
    if (simulator.isEmpty() && !QFileInfo::exists(folder + QStringLiteral("/OB.exe")))
        return fail(QStringLiteral("cannot find the cart simulator vellmore-obsim"));
    const QString problem = demo::layOut(folder, simulator);
    if (!problem.isEmpty())
        return fail(problem);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OBSIM_CART"), folder + QStringLiteral("/cart"));
    return startVellmoreIn(folder, environment);
}

// The folder for the user's own tool, loader and games, in their own Documents whoever installed
// Vellmore: Vellmore finds OB.exe and gbaldr32.bin only in the folder it starts in.
int startVellmoreInToolFolder()
{
    failedAction = QStringLiteral("Vellmore could not be started");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = documents + QStringLiteral("/Vellmore");
    if (documents.isEmpty() || !QDir().mkpath(folder))
        return fail(QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder)));
    return startVellmoreIn(folder, QProcessEnvironment::systemEnvironment());
}

} // namespace

// On Windows the demo maker is a windowed program, so that the menu entry opens no console; started
// from a console, it writes there. False when it has nowhere to write: started from Explorer.
bool useParentConsole()
{
#ifdef Q_OS_WIN
    if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
    return GetStdHandle(STD_OUTPUT_HANDLE) != nullptr;
#else
    return true;
#endif
}

int main(int argc, char* argv[])
{
    // Double-clicked in Explorer (no console, nothing asked): what the menu entry does, since a usage
    // written nowhere would say nothing.
    const bool doubleClicked = !useParentConsole() && argc == 1;
    // A Qt program with a screen only when started from the menu: there a failure goes in a message box.
    const bool toolFolder = argc >= 2 && qstrcmp(argv[1], "--tool-folder") == 0;
    const bool starting = doubleClicked || toolFolder || (argc >= 2 && qstrcmp(argv[1], "--start") == 0);
    const bool fromMenu = doubleClicked || (starting && argc == 3 && qstrcmp(argv[2], "--from-menu") == 0);
    std::unique_ptr<QCoreApplication> app(fromMenu && hasDisplay() ? new QApplication(argc, argv)
                                                                   : new QCoreApplication(argc, argv));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString word = arguments.value(0);
    if (arguments.size() == 1 && (word == QLatin1String("--help") || word == QLatin1String("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    const bool wellFormed = (starting && (arguments.size() == 1 || fromMenu)) ||
                            (arguments.size() == 1 && !word.isEmpty() && !word.startsWith(QLatin1Char('-')));
    if (!wellFormed) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (toolFolder)
        return startVellmoreInToolFolder();
    if (starting)
        return startVellmoreInDemo();
    const QString problem = demo::layOut(word, companion(QStringLiteral("vellmore-obsim")));
    return problem.isEmpty() ? 0 : fail(problem);
}
