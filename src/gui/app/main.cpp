#include "app/FontWarmUp.h"
#include "app/WindowRegistry.h"
#include "platform/Platform.h"
#include "runner/EndRequest.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::ignoreWriteSignals();
    FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName(QStringLiteral("Vellmore"));
    // Ties the running windows to the menu entry: Wayland's app id and the X11 window class.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.vellmore.Vellmore"));
    QApplication::setQuitOnLastWindowClosed(false);
    runner::endOnSystemRequest();
    WindowRegistry windows;
    windows.start();
    return QApplication::exec();
}
