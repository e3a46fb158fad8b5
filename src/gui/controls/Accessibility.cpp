#include "controls/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace accessibility {

namespace {

constexpr char kindProperty[] = "vellmoreAccessibleKind";

QAccessibleInterface* formsAccessible(const QString& className, QObject* object)
{
    Q_UNUSED(className);
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant kind = widget ? widget->property(kindProperty) : QVariant();
    if (!kind.isValid())
        return nullptr; // Qt's own
    switch (Kind(kind.toInt())) {
    case Kind::Window:
        return new QAccessibleWidget(widget, QAccessible::Window);
    case Kind::OptionGroup:
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    case Kind::Decoration:
        return new QAccessibleWidget(widget, QAccessible::Separator);
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

void nameAfter(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    control->setAccessibleName(spokenName(label->text()));
}

} // namespace accessibility
