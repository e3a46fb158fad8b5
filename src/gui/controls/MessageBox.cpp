#include "controls/MessageBox.h"

#include "controls/FormBuilder.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>

QString messageDisplayText(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n\r|\r|\n"));
    QString shown = text;
    shown.replace(lineBreak, QStringLiteral("\n"));
    return shown;
}

void showMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("message"));
    box.setWindowTitle(QStringLiteral("Vellmore"));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(messageDisplayText(text));
    box.setStandardButtons(QMessageBox::Ok);
    // The system's message face where it has one of its own (Windows), not the form's.
    const QFont messageFace = QApplication::font("QMessageBoxLabel");
    if (messageFace != QApplication::font())
        box.setFont(messageFace);
    // The box takes the width of its text; a short text ("Flashed!") would cut the title.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(form::titleRoomNeeded(box.windowTitle()), 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    box.exec();
}
