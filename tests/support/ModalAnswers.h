#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers every message box that opens while action runs, as a user pressing OK
// would, and returns their texts in the order they appeared. When wellFormed is
// given, it tells whether every box had the title "Vellmore", no icon and only OK.
inline QStringList answerMessages(const std::function<void()>& action, bool* wellFormed = nullptr)
{
    QStringList texts;
    if (wellFormed)
        *wellFormed = true;
    QPointer<QMessageBox> answered;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == answered)
            return;
        answered = box;
        texts.append(box->text());
        if (wellFormed)
            *wellFormed = *wellFormed && box->windowTitle() == QLatin1String("Vellmore") &&
                          box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok;
        box->button(QMessageBox::Ok)->click();
    });
    timer.start();
    action();
    timer.stop();
    return texts;
}
