#include "controls/MessageBox.h"

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
    box.exec();
}
