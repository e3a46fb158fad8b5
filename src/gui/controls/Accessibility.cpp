#include "controls/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace accessibility {

namespace {

constexpr char kindProperty[] = "vellmoreAccessibleKind";
constexpr char busyProperty[] = "vellmoreBusy";

// A widget of the forms as Qt reads it, with the states the forms give it.
class FormsWidget : public QAccessibleWidget {
public:
    FormsWidget(QWidget* widget, QAccessible::Role role, bool unread)
        : QAccessibleWidget(widget, role), m_unread(unread)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.busy = widget()->property(busyProperty).toBool();
        if (m_unread)
            state.invisible = true;
        return state;
    }

private:
    bool m_unread;
};

QAccessibleInterface* formsAccessible(const QString& className, QObject* object)
{
    Q_UNUSED(className);
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant kind = widget ? widget->property(kindProperty) : QVariant();
    if (!kind.isValid())
        return nullptr; // Qt's own
    switch (Kind(kind.toInt())) {
    case Kind::Window:
        return new FormsWidget(widget, QAccessible::Window, false);
    case Kind::OptionGroup:
        return new FormsWidget(widget, QAccessible::Grouping, false);
    case Kind::Decoration:
        return new FormsWidget(widget, QAccessible::Separator, false);
    case Kind::Dialog:
        return new FormsWidget(widget, QAccessible::Dialog, false);
    case Kind::Unread:
        return new FormsWidget(widget, QAccessible::StaticText, true);
    case Kind::Notification:
        return new FormsWidget(widget, QAccessible::Notification, false);
    }
    return nullptr;
}

} // namespace

void mark(QWidget* widget, Kind kind, const QString& name)
{
    static const bool installed = [] {
        QAccessible::installFactory(formsAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kindProperty, int(kind));
    if (!name.isEmpty())
        widget->setAccessibleName(name);
}

QString spokenName(const QString& caption)
{
    QString name = caption;
    name.remove(QLatin1Char('&'));
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name.trimmed();
}

void nameWithoutLabel(QWidget* control, const QString& name)
{
    auto* label = new QLabel(name, control->parentWidget());
    label->setObjectName(control->objectName() + QStringLiteral("Name"));
    label->hide();
    label->setBuddy(control);
    control->setAccessibleName(name);
}

void markBusy(QWidget* window, bool busy)
{
    window->setProperty(busyProperty, busy);
    QAccessible::State changed;
    changed.busy = true;
    QAccessibleStateChangeEvent event(window, changed);
    QAccessible::updateAccessibility(&event);
}

void nameAfter(QLabel* label, QWidget* control)
{
    // A form may swap two labels in one place: only the one shown names the control, or a screen
    // reader would take the first it finds.
    for (QLabel* other : control->window()->findChildren<QLabel*>()) {
        if (other != label && other->buddy() == control)
            other->setBuddy(nullptr);
    }
    label->setBuddy(control);
    control->setAccessibleName(spokenName(label->text()));
}

} // namespace accessibility
