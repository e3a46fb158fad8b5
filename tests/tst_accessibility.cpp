// What a screen reader finds in each window: every control that takes input or the focus has a
// name a person would say, windows are windows, groups are named, and lines are only lines.
#include "app/WindowRegistry.h"
#include "frmdialog/frmdialog.h"
#include "support/Controls.h"
#include "support/TestFiles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The roles of what takes input.
bool takesInput(QAccessible::Role role)
{
    static const QList<QAccessible::Role> input{
        QAccessible::EditableText, QAccessible::CheckBox,   QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::List,         QAccessible::PushButton, QAccessible::SpinBox};
    return input.contains(role);
}

struct Finding {
    QStringList nameless; // controls that take input or the focus without a name a person would say
    QStringList groups;   // the names of the option groups
    int separators = 0;
};

void walk(QAccessibleInterface* node, const QString& where, Finding& found)
{
    static const QRegularExpression sayable(QStringLiteral("[\\p{L}\\p{N}]"));
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child)
            continue;
        QString name = child->text(QAccessible::Name);
        // On Linux Qt reads a combo box's text as its name; what names it there is its label (the
        // relation its buddy gives) or the name it was given.
        if (child->role() == QAccessible::ComboBox) {
            const auto labels = child->relations(QAccessible::Labelled);
            name = !labels.isEmpty() ? labels.first().first->text(QAccessible::Name)
                                     : qobject_cast<QWidget*>(child->object())->accessibleName();
        }
        const QString here = where + "/" + (child->object() ? child->object()->objectName() : QString::number(i));
        const QAccessible::Role role = child->role();
        if ((takesInput(role) || child->state().focusable) && !name.contains(sayable))
            found.nameless.append(here + " (\"" + name + "\")");
        if (role == QAccessible::Grouping)
            found.groups.append(name);
        if (role == QAccessible::Separator)
            ++found.separators;
        // The inner parts of a combo box and a list are the combo box's and the list's own.
        if (role != QAccessible::ComboBox && role != QAccessible::List)
            walk(child, here, found);
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void everyWindowReadsWhole_data();
    void everyWindowReadsWhole();
};

void AccessibilityTest::everyWindowReadsWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("role");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<int>("separators"); // at least
    QTest::newRow("main window") << "frmdialog" << int(QAccessible::Window) << QStringList{} << 8;
    QTest::newRow("save window") << "saveload" << int(QAccessible::Window)
                                 << QStringList{"Chip size", "Bank to back up", "Size to back up", "Bank to restore to"}
                                 << 7;
    QTest::newRow("output folder window") << "folderselect" << int(QAccessible::Window) << QStringList{} << 1;
    QTest::newRow("About window") << "frmAbout" << int(QAccessible::Dialog) << QStringList{} << 1;
}

void AccessibilityTest::everyWindowReadsWhole()
{
    QFETCH(QString, window);
    QFETCH(int, role);
    QFETCH(QStringList, groups);
    QFETCH(int, separators);
    QTemporaryDir dir;
    testfiles::write(dir.filePath("OB.exe"), "tool");
    testfiles::write(dir.filePath("gbaldr32.bin"), "loader");
    const testfiles::CurrentDirectory cwd(dir.path());
    {
        WindowRegistry windows;
        windows.start();
        frmdialog* main = windows.mainWindow();
        control<QPushButton>(main, "Command2")->click();
        control<QAction>(main, "about")->trigger();
        control<QPushButton>(main, "Command1")->click();
        QWidget* shown = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == window)
                shown = widget;
        }
        QVERIFY(shown);
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(shown);
        QVERIFY(root);
        QCOMPARE(int(root->role()), role);
        QVERIFY(!root->text(QAccessible::Name).isEmpty());
        Finding found;
        walk(root, window, found);
        QVERIFY2(found.nameless.isEmpty(), qPrintable("without a name: " + found.nameless.join(", ")));
        QCOMPARE(found.groups, groups);
        QVERIFY2(found.separators >= separators, qPrintable(QString::number(found.separators)));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
