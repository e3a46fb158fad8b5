// The forms' narrow controls and their captions: a style that draws the narrow option buttons and
// port lists whole, and captions checked against the face actually used, made smaller where cut.
#include "controls/CaptionFitting.h"

#include "compat/QtWidgetsCompat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

namespace form {

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

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        // On a dark palette the styles draw an option's circle in a shade of the window and its dot
        // half seen through: the dot gets the text's own colour, the circle's edge two thirds of it.
        const QPalette& palette = option->palette;
        if (element != PE_IndicatorRadioButton || palette.color(QPalette::Base).lightness() >= 128)
            return;
        const QColor text = palette.color(QPalette::Text), base = palette.color(QPalette::Base);
        auto towardsText = [&](int from, int to) { return from + (to - from) * 2 / 3; };
        const QColor edge(towardsText(base.red(), text.red()), towardsText(base.green(), text.green()),
                          towardsText(base.blue(), text.blue()));
        // The edge runs through the middle of the outer pixels, so that it is one whole pixel wide.
        const int side = qMin(option->rect.width(), option->rect.height()) - 1;
        const QRectF circle(option->rect.x() + (option->rect.width() - side) / 2 + 0.5,
                            option->rect.y() + (option->rect.height() - side) / 2 + 0.5, side, side);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(edge);
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(circle);
        if (option->state & State_On) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(text);
            const qreal inset = side * 0.3;
            painter->drawEllipse(circle.adjusted(inset, inset, -inset, -inset));
        }
        painter->restore();
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

int titleRoomNeeded(const QString& title, bool toolWindow)
{
    // The window manager's title font is not ours to know: the desktop's title font, bold as most
    // draw it, and room for the icon and three title-bar buttons, each up to half again as wide as the
    // title bar is high (Windows 10 and 11 draw them 46 by 30 pixels), and the margins: six heights.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const int titleBarHeight = qMax(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), 18);
    // A tool window's title bar has only its close button.
    return QFontMetrics(font).horizontalAdvance(title) + (toolWindow ? 2 : 6) * titleBarHeight;
}

void fitCaptions(QWidget* window)
{
    // A window drawn narrower than its title needs is widened, its controls kept in the middle. A
    // window with a menu bar (laid out) is wide enough: its title's face is not loaded at start-up.
    const int titleRoom = window->isWindow() && !window->layout()
                              ? titleRoomNeeded(window->windowTitle(), window->windowType() == Qt::Tool)
                              : 0;
    if (titleRoom > window->width()) {
        const int shift = (titleRoom - window->width()) / 2;
        for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow())
                child->move(child->x() + shift, child->y());
        }
        window->resize(titleRoom, window->height());
    }
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

} // namespace form
