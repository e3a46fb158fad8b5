#pragma once

#include "controls/FileChooser.h"
#include "controls/FormBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include <functional>

// What a file chooser showed and what became of it, as a user saw it.
struct ChooserVisit {
    QString title;
    QString folder;
    QString selectedFilter;
    QStringList filters;
    QStringList prompts;   // the questions it asked (Yes or No), in order
    QStringList refusals;  // the messages that refused a name (OK only); the user then cancels
    int confirmations = 0; // how often the user pressed the dialog's own confirm
    bool stayedOpenAfterNo = false;
};

// Answers the dialogs that open while it lives, each as soon as it is shown, as a user would:
// a message box with OK, a question with the next of answers ("Yes" or "No"; Yes when they run
// out), and a file chooser by typing path and confirming (an empty path cancels). After a "No"
// the chooser is still open and is confirmed again; after a message that refuses the name, the
// user cancels it.
class DialogAnswers : public QObject {
public:
    explicit DialogAnswers(QString path = QString(), QStringList answers = {})
        : m_path(std::move(path)), m_answers(std::move(answers))
    {
        qApp->installEventFilter(this);
    }
    ~DialogAnswers() override { qApp->removeEventFilter(this); }
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    QStringList messages;   // the texts of the message boxes with OK only, in order
    bool wellFormed = true; // every such box had the title "Vellmore", whole, no icon and only OK
    ChooserVisit visit;
    int filter = -1; // the filter pair the user picks in a chooser before confirming; -1 keeps the first

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        // Answered once the dialog's own loop runs, as a person answers what they see.
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            later([this, box = QPointer<QMessageBox>(box)] { answer(box); });
        else if (auto* chooser = qobject_cast<FileChooser*>(watched))
            later([this, chooser = QPointer<FileChooser>(chooser)] { useChooser(chooser, false); });
        return false;
    }

private:
    void later(std::function<void()> step) { QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection); }

    void answer(QMessageBox* box)
    {
        if (!box || !box->isVisible())
            return;
        const QPointer<FileChooser> chooser = qobject_cast<FileChooser*>(box->parentWidget());
        if (box->button(QMessageBox::Yes)) {
            visit.prompts.append(box->text());
            const bool no = m_answers.value(m_answered++) == QLatin1String("No");
            box->button(no ? QMessageBox::No : QMessageBox::Yes)->click();
            if (no && chooser)
                later([this, chooser] { useChooser(chooser, true); });
            return;
        }
        if (chooser)
            visit.refusals.append(box->text());
        else
            messages.append(box->text());
        wellFormed = wellFormed && box->windowTitle() == QLatin1String("Vellmore") &&
                     box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok &&
                     form::captionFits(box);
        box->button(QMessageBox::Ok)->click();
        if (chooser)
            later([chooser] {
                if (chooser)
                    chooser->reject();
            });
    }

    void useChooser(FileChooser* chooser, bool again)
    {
        if (!chooser || !chooser->isVisible())
            return;
        if (again) {
            visit.stayedOpenAfterNo = true;
        } else {
            visit.title = chooser->windowTitle();
            visit.folder = chooser->directory().absolutePath();
            visit.selectedFilter = chooser->selectedNameFilter();
            visit.filters = chooser->nameFilters();
        }
        if (m_path.isEmpty()) {
            chooser->reject();
            return;
        }
        if (filter >= 0 && !again) {
            // Picked with the keys, as a user does: the dialog then hears of it as of a click.
            auto* types = chooser->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types->setFocus();
            for (int step = types->currentIndex(); step < filter; ++step)
                QTest::keyClick(types, Qt::Key_Down);
        }
        ++visit.confirmations;
        chooser->selectFile(m_path);
        chooser->accept();
    }

    QString m_path;
    QStringList m_answers;
    int m_answered = 0;
};

// Runs action and answers the message boxes that open in it with OK; returns their texts in
// order. When wellFormed is given, it tells whether every box had the title "Vellmore", no icon
// and only OK.
inline QStringList answerMessages(const std::function<void()>& action, bool* wellFormed = nullptr)
{
    DialogAnswers answers;
    action();
    if (wellFormed)
        *wellFormed = answers.wellFormed;
    return answers.messages;
}

// Runs action and answers the file chooser that opens in it: types path and confirms (an empty
// path cancels) and answers its questions with answers.
inline ChooserVisit answerChooser(const std::function<void()>& action, const QString& path,
                                  const QStringList& answers = {}, int filter = -1)
{
    DialogAnswers answering(path, answers);
    answering.filter = filter;
    action();
    return answering.visit;
}
