// Both working windows stay readable in a light and in a dark desktop palette, warnings and
// the frozen paths included, and their icons are drawn for sharp high-density screens.
#include "controls/ColourValue.h"
#include "controls/FolderList.h"
#include "controls/WindowIcon.h"
#include "mainwindow/MainWindow.h"
#include "savewindow/SaveWindow.h"
#include "services/ProgramServices.h"
#include "support/ColourChecks.h"
#include "support/Controls.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>

#include <memory>
#include <optional>

namespace {

QPalette darkPalette()
{
    QPalette dark;
    const QColor window(53, 53, 53), base(35, 35, 35), text(Qt::white);
    for (auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase, QPalette::ToolTipBase})
        dark.setColor(role, window);
    dark.setColor(QPalette::Base, base);
    for (auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText, QPalette::BrightText})
        dark.setColor(role, text);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Mid, QColor(80, 80, 80));
    dark.setColor(QPalette::Shadow, Qt::black);
    return dark;
}

// The text and background a control is painted with.
struct Painted {
    QColor text;
    QColor background;
};

std::optional<Painted> paintedColours(const QWidget* widget)
{
    const QPalette& palette = widget->palette();
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
        qobject_cast<const QComboBox*>(widget))
        return Painted{palette.color(QPalette::Text), palette.color(QPalette::Base)};
    if (qobject_cast<const QPushButton*>(widget))
        return Painted{palette.color(QPalette::ButtonText), palette.color(QPalette::Button)};
    if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QRadioButton*>(widget))
        return Painted{palette.color(widget->foregroundRole()), palette.color(QPalette::Window)};
    return std::nullopt;
}

// Every control with text whose text is too faint on its background, with the ratio.
QStringList unreadable(const QWidget* window)
{
    QStringList faint;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName() == "qt_scrollarea_viewport")
            continue;
        if (const auto painted = paintedColours(widget)) {
            const double ratio = colours::contrastRatio(painted->text, painted->background);
            if (ratio < 3.0)
                faint.append(QStringLiteral("%1 (%2)").arg(widget->objectName()).arg(ratio, 0, 'f', 2));
        }
    }
    return faint;
}

} // namespace

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void readableInLightAndDark_data();
    void readableInLightAndDark();
    void iconsHaveHighDensityImages();
};

void PaletteTest::cleanup()
{
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void PaletteTest::readableInLightAndDark_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void PaletteTest::readableInLightAndDark()
{
    QFETCH(bool, dark);
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    ProgramServices services;
    std::unique_ptr<MainWindow> main(new MainWindow(services));
    std::unique_ptr<SaveWindow> save(new SaveWindow(services));
    QCOMPARE(unreadable(main.get()), QStringList());
    QCOMPARE(unreadable(save.get()), QStringList());
    // An option's circle stands out from a dark window (on a light one its white inside does it).
    if (dark) {
        auto* option = control<QRadioButton>(save, "chip1");
        QStyleOptionButton drawn;
        drawn.initFrom(option);
        const QRect circle = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &drawn, option);
        const QImage shown = option->grab().toImage();
        double edge = 0;
        for (int x = circle.left(); x < circle.center().x() - 2; ++x)
            edge = qMax(edge, colours::contrastRatio(shown.pixelColor(x, circle.center().y()),
                                                     option->palette().color(QPalette::Window)));
        QVERIFY2(edge >= 3.0, qPrintable(QString::number(edge)));
    }

    // Black text is the palette's text colour: black in a light palette.
    QCOMPARE(colours::textColour(control<QLabel>(main, "Label3")), QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(colours::backgroundColour(control<FolderList>(main, "dirdialog")),
             QApplication::palette().color(QPalette::Base));

    // Warnings stay red, and the frozen paths readable.
    for (QLabel* label :
         {control<QLabel>(main, "Label2"), control<QLabel>(main, "Label3"), control<QLabel>(main, "Label4"),
          control<QLabel>(main, "gotloader"), control<QLabel>(main, "gotorbick")})
        colours::setTextColour(label, colours::red);
    main->setPathsFrozen(true);
    QCOMPARE(colours::textColour(control<QLabel>(main, "Label3")), QColor(255, 0, 0));
    QCOMPARE(unreadable(main.get()), QStringList());
}

void PaletteTest::iconsHaveHighDensityImages()
{
    const QList<QSize> sizes = vellmoreIcon().availableSizes();
    for (const QSize& size : {QSize(32, 32), QSize(48, 48), QSize(64, 64)})
        QVERIFY2(sizes.contains(size), qPrintable(QStringLiteral("%1 px").arg(size.width())));
}

QTEST_MAIN(PaletteTest)
#include "tst_palette.moc"
