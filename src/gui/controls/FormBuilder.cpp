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

// Enter on a focused button presses it, as on Windows: outside a dialog Qt's buttons take only Space.
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || others != Qt::NoModifier)
            return false;
        static_cast<QPushButton*>(watched)->click();
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

// The first of the faces that is installed, looked up once: naming missing faces to the
// font system costs a fallback search for every font made from them.
QString installedFamily(const QStringList& wanted)
{
    const QStringList installed = compat::fontFamilies();
    for (const QString& family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    }
    return QString();
}

QFont fontOf(const QString& family, bool bold)
{
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

} // namespace

QFont windowFont()
{
    // The forms were drawn for the system's narrow face; the others have close metrics where it is missing.
    static const QString family =
        installedFamily({platform::formFaceFamily(), QStringLiteral("Microsoft Sans Serif"),
                         QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    return fontOf(family, false);
}

QFont browseFont()
{
    static const QString family =
        installedFamily({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    return fontOf(family, true);
}

QFont headingFont()
{
    QFont font = windowFont();
    font.setPointSizeF(9.75);
    return font;
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

namespace {

// The forms were drawn for Windows' small controls; desktop styles draw larger ones, which the
// forms' narrow option buttons and port list would cut.
class NarrowControlStyle : public QProxyStyle {
public:
    explicit NarrowControlStyle(QStyle* base) : QProxyStyle(base) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int own = QProxyStyle::pixelMetric(metric, option, widget);
        // Text begins a few pixels after the indicator, as on Windows.
        if (metric == PM_RadioButtonLabelSpacing)
            return qMin(3, own);
        // An option button lower than the style's circle gets a circle of its own height.
        if ((metric == PM_ExclusiveIndicatorHeight || metric == PM_ExclusiveIndicatorWidth) && widget)
            return qMin(own, widget->height());
        return own;
    }

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        const QRect own = QProxyStyle::subElementRect(element, option, widget);
        if (element != SE_PushButtonContents)
            return own;
        // The forms' buttons are as low as 17 pixels, where a theme's margins leave the text less than
        // its height: Windows' own buttons let it use all but the frame, and so do these.
        const int frame = 2;
        const QRect inside = option->rect.adjusted(frame, frame, -frame, -frame);
        return own.height() >= option->fontMetrics.height()
                   ? own
                   : QRect(own.left(), inside.top(), own.width(), inside.height());
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_PushButtonLabel || !button || !widget) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // The base style hands the label the room of its own margins, not the room above: ask again.
        QStyleOptionButton whole = *button;
        whole.rect = widget->rect();
        QStyleOptionButton label = *button;
        label.rect = subElementRect(SE_PushButtonContents, &whole, widget);
        QProxyStyle::drawControl(element, &label, painter, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField))
            return QProxyStyle::subControlRect(control, option, part, widget);
        // A drop-down button as narrow as a Windows one leaves the text its room.
        const QRect whole = option->rect;
        const int frame = 2;
        const QRect area =
            part == SC_ComboBoxArrow
                ? QRect(whole.right() - narrowButtonWidth + 1, whole.top(), narrowButtonWidth, whole.height())
                : QRect(whole.left() + frame, whole.top() + frame, whole.width() - narrowButtonWidth - frame,
                        whole.height() - 2 * frame);
        return visualRect(option->direction, whole, area);
    }

private:
    static constexpr int narrowButtonWidth = 14;
};

} // namespace

QStyle* narrowControlStyle()
{
    static QStyle* style = new NarrowControlStyle(QStyleFactory::create(compat::styleName(QApplication::style())));
    return style;
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
    widget->setChecked(selected);
    place(widget, left, top, width, height);
    return widget;
}

namespace {

// The room a control's style gives the text of its caption.
QRect captionRoom(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->contentsRect();
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    if (!button)
        return QRect();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<const QRadioButton*>(control) != nullptr;
    const bool check = qobject_cast<const QCheckBox*>(control) != nullptr;
    const QStyle::SubElement element = radio   ? QStyle::SE_RadioButtonContents
                                       : check ? QStyle::SE_CheckBoxContents
                                               : QStyle::SE_PushButtonContents;
    return control->style()->subElementRect(element, &option, control);
}

QString captionOf(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return QString();
}

} // namespace

bool captionFits(const QWidget* control)
{
    if (const auto* box = qobject_cast<const QMessageBox*>(control))
        return box->width() >= titleRoomNeeded(box->windowTitle());
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        const int margins = combo->lineEdit() ? 2 * 2 : 0; // the box's own margin on either side of the text
        // A list of fixed entries shows each in turn; any other shows what is chosen now.
        QStringList shown{combo->currentText()};
        for (int i = 0; combo->isEditable() && i < combo->count(); ++i)
            shown.append(combo->itemText(i));
        for (const QString& text : shown) {
            if (QFontMetrics(combo->font()).horizontalAdvance(text) + margins > field.width())
                return false;
        }
        return true;
    }
    if (const auto* option = qobject_cast<const QRadioButton*>(control)) {
        QStyleOptionButton style;
        style.initFrom(option);
        if (!option->rect().contains(option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option)))
            return false; // the circle is cut
    }
    QString text = captionOf(control);
    if (text.isEmpty())
        return true;
    if (!qobject_cast<const QLabel*>(control))
        text.remove(QLatin1Char('&')); // an access key's marker is not drawn
    const QRect room = captionRoom(control);
    const QFontMetrics metrics(control->font());
    const auto* label = qobject_cast<const QLabel*>(control);
    if (label && label->wordWrap()) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 16), Qt::TextWordWrap, text);
        return needed.width() <= room.width() && needed.height() <= room.height();
    }
    // A button's text is centred in its room and cut at it on every side: the ink of its letters,
    // descenders ("move up") included, must lie within.
    if (qobject_cast<const QPushButton*>(control)) {
        const QFontMetricsF exact(control->font());
        const QRectF ink = exact.tightBoundingRect(text);
        const qreal baseline = room.top() + (room.height() - exact.height()) / 2 + exact.ascent();
        return metrics.horizontalAdvance(text) <= room.width() && baseline + ink.top() >= room.top() &&
               baseline + ink.bottom() <= room.top() + room.height();
    }
    if (label)
        return metrics.horizontalAdvance(text) <= room.width();
    // An option's text starts after its indicator and is cut only where the control ends.
    return room.left() + QFontMetricsF(control->font()).tightBoundingRect(text).right() <= control->width();
}

int titleRoomNeeded(const QString& title)
{
    // The window manager's title font is not ours to know: the desktop's title font, bold as most
    // draw it, and room for the icon and three title-bar buttons.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    constexpr int iconAndButtons = 4 * 24;
    return QFontMetrics(font).horizontalAdvance(title) + iconAndButtons;
}

void fitCaptions(QWidget* window)
{
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (captionOf(control).isEmpty() || captionFits(control))
            continue;
        QFont font = control->font();
        while (!captionFits(control) && font.pointSizeF() > 7.0) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
            control->setFont(font);
        }
    }
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
