// Shows a first window and ends the moment it is exposed: "vellmore" starts Vellmore
// as its main() does, "empty" shows one empty window and "text" a window of one line of text (the
// first text loads the fonts), for reference.
#include "app/FontWarmUp.h"
#include "app/WindowRegistry.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

class ExposeWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched))
            std::_Exit(0); // the first window is on screen: nothing after this is start-up
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    const bool empty = argc > 1 && std::strcmp(argv[1], "empty") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "text") == 0;
    std::optional<FontWarmUp> fonts;
    if (!empty && !text)
        fonts.emplace();
    QApplication app(argc, argv);
    if (fonts)
        fonts->wait();
    ExposeWatcher watcher;
    app.installEventFilter(&watcher);
    if (empty) {
        QWidget window;
        window.show();
        return QApplication::exec();
    }
    if (text) {
        QLabel window(QStringLiteral("Vellmore"));
        window.show();
        return QApplication::exec();
    }
    QApplication::setQuitOnLastWindowClosed(false);
    WindowRegistry windows;
    windows.start();
    return QApplication::exec();
}
