// On a real X server under a window manager: a click on the window a tool was started from leaves
// the console in front of it with the keyboard's focus, so that Ctrl+C still reaches the console.
// A window manager reads the window system's own hints, which no offscreen test sees; so this runs
// under Xvfb with openbox (scripts/check-accessibility), not through CTest.
#include "run/CommandLine.h"
#include "runner/ConsoleWindow.h"
#include "runner/ProcessRunner.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

ConsoleWindow* activeConsole()
{
    return qobject_cast<ConsoleWindow*>(QApplication::activeWindow());
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < milliseconds)
        QTest::qWait(20);
    return condition();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "check_console_stacking: needs an X server (QT_QPA_PLATFORM=xcb)\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString tool = testfiles::writeStandIn(dir.filePath("tool"), {"ready", "wait"});
    QWidget waiting;
    waiting.setWindowTitle(QStringLiteral("the waiting window"));
    waiting.setGeometry(40, 60, 360, 560); // beside the console, which opens in the screen's middle
    waiting.show();
    waiting.activateWindow();
    if (!waitUntil([&] { return QApplication::activeWindow() == &waiting; }, 10000)) {
        std::fprintf(stderr, "check_console_stacking: the waiting window never became active\n");
        return 1;
    }
    QString verdict = QStringLiteral("the console never showed");
    QTimer::singleShot(0, [&] {
        if (!waitUntil([&] { return activeConsole() && testfiles::toolIsReady(tool); }, 10000))
            return;
        ConsoleWindow* console = activeConsole();
        const QPoint inside = waiting.mapToGlobal(QPoint(30, 30));
        if (console->frameGeometry().contains(inside)) {
            verdict = QStringLiteral("the console covers the point to click");
        } else {
            QProcess::execute(QStringLiteral("xdotool"), {"mousemove", "--sync", QString::number(inside.x()),
                                                          QString::number(inside.y()), "click", "1"});
            // The window manager has had its chance to raise the clicked window and focus it.
            QTest::qWait(1000);
            verdict = QApplication::activeWindow() == console
                          ? QString()
                          : QStringLiteral("after a click on the waiting window the active window is ") +
                                (QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle()
                                                              : QStringLiteral("none of Vellmore's"));
        }
        console->requestStop(QStringLiteral("the check is done"));
    });
    runner::ExecCmd(run::CommandLine(tool));
    if (!verdict.isEmpty()) {
        std::fprintf(stderr, "check_console_stacking: %s\n", qPrintable(verdict));
        return 1;
    }
    std::printf("check_console_stacking: the console stayed in front of the window it was started from\n");
    return 0;
}
