#pragma once

#include "controls/FileChooser.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

// What a file chooser showed and what became of it, as a user saw it.
struct ChooserVisit {
    QString title;
    QString folder;
    QString selectedFilter;
    QStringList filters;
    QStringList prompts;   // the questions it asked, in order
    int confirmations = 0; // how often the user pressed the dialog's own confirm
    bool stayedOpenAfterNo = false;
};

// Runs action and answers the file chooser that opens in it as a user would: it types path and
// confirms (an empty path cancels), answers each question with the next of answers ("Yes" or
// "No") and confirms again after every "No".
inline ChooserVisit answerChooser(const std::function<void()>& action, const QString& path,
                                  const QStringList& answers = {})
{
    ChooserVisit visit;
    int answered = 0;
    bool lastWasNo = false;
    bool confirming = false; // a confirm is on its way to the chooser
    QElapsedTimer sinceConfirm;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* prompt = qobject_cast<QMessageBox*>(modal)) {
            if (!prompt->isVisible())
                return;
            visit.prompts.append(prompt->text());
            const QString answer = answers.value(answered++, QStringLiteral("Yes"));
            lastWasNo = answer == QLatin1String("No");
            prompt->button(lastWasNo ? QMessageBox::No : QMessageBox::Yes)->click();
            return;
        }
        auto* chooser = qobject_cast<FileChooser*>(modal);
        // A confirm still under way after a second was lost on a busy machine: confirm again.
        if (!chooser || !chooser->isVisible() || (confirming && sinceConfirm.elapsed() < 1000))
            return;
        if (visit.confirmations == 0) {
            visit.title = chooser->windowTitle();
            visit.folder = chooser->directory().absolutePath();
            visit.selectedFilter = chooser->selectedNameFilter();
            visit.filters = chooser->nameFilters();
        }
        if (lastWasNo)
            visit.stayedOpenAfterNo = true;
        lastWasNo = false;
        if (path.isEmpty()) {
            chooser->reject();
            return;
        }
        ++visit.confirmations;
        chooser->selectFile(path);
        confirming = true;
        sinceConfirm.start();
        QMetaObject::invokeMethod(
            chooser,
            [chooser, &confirming] {
                confirming = false;
                chooser->accept();
            },
            Qt::QueuedConnection);
    });
    timer.start();
    action();
    timer.stop();
    return visit;
}
