#include "app/WindowRegistry.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellmore"));
    QApplication::setQuitOnLastWindowClosed(false);
    WindowRegistry windows;
    windows.start();
    return QApplication::exec();
}
