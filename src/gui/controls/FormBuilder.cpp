#include "controls/FormBuilder.h"

#include "compat/QtWidgetsCompat.h"
#include "controls/Accessibility.h"
#include "controls/ColourValue.h"
#include "controls/WindowIcon.h"
#include "platform/Platform.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

namespace {

// The key of a key press made without Shift, Ctrl or Alt (the keypad's keys count as plain), else 0.
int plainKeyPressed(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return 0;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier ? key->key() : 0;
}

// Enter on a focused button presses it, as on Windows: outside a dialog Qt's buttons take only Space.
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const int key = plainKeyPressed(event);
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

// The arrow keys in a group of options go to the previous and the next option in the group's order
// (the order they were made in), wrapping at the ends, and choose it, as on Windows. Qt's own arrows go by
// position on screen, and the forms place their options in columns: Up from 32 Mbit found nothing.
class ArrowsFollowOptionOrder : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const int key = plainKeyPressed(event);
        const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
        if (!forward && key != Qt::Key_Up && key != Qt::Key_Left)
            return false;
        auto* option = static_cast<QRadioButton*>(watched);
        const QList<QRadioButton*> group =
            option->parentWidget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
        const int at = int(group.indexOf(option));
        QRadioButton* next = group.at((at + (forward ? 1 : int(group.size()) - 1)) % int(group.size()));
        next->setChecked(true);
        next->setFocus(Qt::TabFocusReason);
        return true;
    }
};

} // namespace

namespace form {

Qt::WindowFlags fixedDialogFlags()
{
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void plainWindow(QWidget* window, const char* name, const QString& caption, int width, int height)
{
    window->setObjectName(QString::fromLatin1(name));
    if (!qobject_cast<QDialog*>(window))
        accessibility::mark(window, accessibility::Kind::Window);
    window->setWindowTitle(caption);
    window->setWindowIcon(vellmoreIcon());
    window->setFont(windowFont());
    window->resize(pixels(width), pixels(height));
}

QWidget* clientArea(QWidget* window, const char* name, const QString& caption, QMenuBar* menuBar, int width, int height)
{
    plainWindow(window, name, caption, width, height);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    auto* area = new QWidget(window);
    area->setObjectName(QStringLiteral("clientArea"));
    area->setFixedSize(pixels(width), pixels(height));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return area;
}

QMenuBar* menuBar(QWidget* window)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    return new QMenuBar(window);
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* created = bar->addMenu(caption);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

int pixels(int twips)
{
    return qRound(twips / 15.0);
}

void tabOrder(const QList<QWidget*>& controls)
{
    for (int i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

namespace {
template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* widget = named(new QLabel(caption, parent), name);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(widget, left, top, width, height);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height,
                    const QString& toolTip)
{
    auto* widget = named(new QPushButton(caption, parent), name);
    widget->setAutoDefault(false);
    widget->installEventFilter(new EnterPressesButton(widget));
    widget->setToolTip(toolTip);
    widget->setStyle(narrowControlStyle()); // a caption whole in a low button
    place(widget, left, top, width, height);
    return widget;
}

QPushButton* browseButton(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    QPushButton* widget = button(parent, name, QStringLiteral("..."), left, top, width, height);
    widget->setFont(browseFont());
    return widget;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, bool readOnly, int left, int top, int width,
                   int height)
{
    auto* widget = named(new QLineEdit(text, parent), name);
    widget->setReadOnly(readOnly);
    widget->setTextMargins(0, 0, 0, 0);
    place(widget, left, top, width, height);
    return widget;
}

QCheckBox* checkBox(QWidget* parent, const char* name, bool ticked, int left, int top, int width, int height)
{
    auto* widget = named(new QCheckBox(parent), name);
    widget->setChecked(ticked);
    place(widget, left, top, width, height);
    return widget;
}

QRadioButton* optionButton(QWidget* parent, const char* name, const QString& caption, bool selected, int left, int top,
                           int width, int height)
{
    auto* widget = named(new QRadioButton(caption, parent), name);
    widget->setStyle(narrowControlStyle());
    // Tab enters a group on its chosen option, as on Windows; the arrow keys move within it.
    auto tabStopWhenChosen = [widget](bool chosen) {
        widget->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(widget, &QAbstractButton::toggled, widget, tabStopWhenChosen);
    tabStopWhenChosen(selected);
    widget->installEventFilter(new ArrowsFollowOptionOrder(widget));
    widget->setChecked(selected);
    place(widget, left, top, width, height);
    return widget;
}

QFrame* line(QWidget* parent, const char* name, int x1, int y1, int x2, int y2, quint32 colour)
{
    auto* widget = named(new QFrame(parent), name);
    accessibility::mark(widget, accessibility::Kind::Decoration);
    widget->setFrameShape(QFrame::NoFrame);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colours::lineColourFor(colour));
    widget->setPalette(palette);
    const int left = pixels(qMin(x1, x2));
    const int top = pixels(qMin(y1, y2));
    widget->setGeometry(left, top, qMax(1, pixels(qMax(x1, x2)) - left), qMax(1, pixels(qMax(y1, y2)) - top));
    return widget;
}

} // namespace form
