#include "app/WindowRegistry.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::ignoreWriteSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellmore"));
    QApplication::setQuitOnLastWindowClosed(false);
    WindowRegistry windows;
    windows.start();
    return QApplication::exec();
}
