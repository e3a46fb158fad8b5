#include "controls/FileChooser.h"

#include "compat/QtWidgetsCompat.h"
#include "controls/DialogHistoryKeeper.h"
#include "controls/FileFilter.h"
#include "controls/MessageBox.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

namespace {

// Blanks only: a name may well end in another kind of white space.
QString withoutOuterBlanks(const QString& path)
{
    const QStringView text(path);
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return path.mid(first, last - first);
}

} // namespace

FileChooser::FileChooser(Kind kind, QWidget* owner, const QString& filter, const QString& title, const QString& folder)
    : QFileDialog(owner, title, folder), m_kind(kind)
{
    setObjectName(QStringLiteral("fileChooser"));
    setWindowModality(Qt::WindowModal);
    setAcceptMode(kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(kind == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    connect(this, &QFileDialog::filterSelected, this, &FileChooser::useFilter);
    const QStringList filters = choosers::nameFiltersFromText(filter);
    setNameFilters(filters);
    if (!filters.isEmpty()) {
        selectNameFilter(filters.first());
        useFilter(filters.first());
    }
}

void FileChooser::useFilter(const QString& nameFilter)
{
    // "*.*" lists every file, also the many programs without a dot in their names.
    if (auto* model = findChild<QFileSystemModel*>())
        model->setNameFilters(choosers::matchingPatterns(nameFilter));
    if (m_kind == Kind::Save)
        setDefaultSuffix(choosers::defaultSuffix(nameFilter));
}

bool FileChooser::usesOwnWidgets() const
{
    return findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) != nullptr;
}

void FileChooser::accept()
{
    if (!usesOwnWidgets()) {
        // The system's dialog has closed already: the name is looked at once it is back.
        QFileDialog::accept();
        return;
    }
    // Qt reads a double quote in the name box as the start of a list of names.
    auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (typed->text().contains(QLatin1Char('"'))) {
        showMessage(this, QStringLiteral("a name with a double quote cannot be used: ") + typed->text());
        return;
    }
    // A name typed without an extension gets the file type's, also where a folder has that name: Qt
    // would take the folder (typing selects it in the list) and open it.
    const QFileInfo typedPlace(directory(), typed->text());
    if (m_kind == Kind::Save && !defaultSuffix().isEmpty() && typedPlace.isDir() && !typedPlace.fileName().isEmpty() &&
        !typedPlace.fileName().contains(QLatin1Char('.'))) {
        typed->setText(typed->text() + QLatin1Char('.') + defaultSuffix());
        if (auto* listed = findChild<QAbstractItemView*>(QStringLiteral("listView")))
            listed->selectionModel()->clearSelection();
    }
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && !acceptable(m_kind, chosen.first(), this, windowTitle()))
        return;
    m_checked = true;
    QFileDialog::accept();
}

bool FileChooser::acceptable(Kind kind, const QString& path, QWidget* parent, const QString& title)
{
    if (platform::isUndecodableName(path)) {
        showMessage(parent, QStringLiteral("this file's name is not valid text, so Vellmore cannot use it: ") + path);
        return false;
    }
    return kind == Kind::Open || confirmSaveTarget(path, parent, title);
}

bool FileChooser::confirmSaveTarget(const QString& path, QWidget* parent, const QString& title)
{
    const platform::WriteTarget target = platform::writeTarget(path);
    if (target.kind == platform::WriteTarget::Kind::LinkLoop) {
        showMessage(parent, QStringLiteral("this name is a link that leads round in a circle of links: ") + path);
        return false;
    }
    if (target.kind != platform::WriteTarget::Kind::Missing)
        return true; // replacing a file is the dialog's own question; a folder or device the operation refuses
    const QString tooLong = platform::nameProblem(target.path).value_or(QString());
    if (!tooLong.isEmpty()) {
        showMessage(parent, tooLong + QStringLiteral(":\n") + target.path);
        return false;
    }
    // Creating a new file is ours, naming where a link that leads nowhere yet would make it.
    const QString name = QFileInfo(path).fileName();
    const QString question = target.path == path
                                 ? name + QStringLiteral("\nThis file does not exist.\nCreate the file?")
                                 : name + QStringLiteral(" is a link to ") + target.path +
                                       QStringLiteral(", which does not exist.\nCreate the file there?");
    QMessageBox ask(QMessageBox::NoIcon, title, question, QMessageBox::Yes | QMessageBox::No, parent);
    ask.setObjectName(QStringLiteral("createPrompt"));
    ask.setDefaultButton(QMessageBox::Yes);
    return ask.exec() == QMessageBox::Yes;
}

namespace {

// When a chooser closes, the window it came from becomes active again at once: otherwise it often
// stays without activation, and a screen reader says nothing of the control that has the focus.
class OwnerActivatedAfterwards {
public:
    explicit OwnerActivatedAfterwards(QWidget* owner) : m_owner(owner) {}
    ~OwnerActivatedAfterwards()
    {
        if (m_owner)
            compat::makeActive(m_owner->window());
    }
    OwnerActivatedAfterwards(const OwnerActivatedAfterwards&) = delete;
    OwnerActivatedAfterwards& operator=(const OwnerActivatedAfterwards&) = delete;

private:
    QPointer<QWidget> m_owner;
};

} // namespace

QString FileChooser::choose(Kind kind, QWidget* owner, const QString& filter, const QString& title,
                            const QString& folder)
{
    const OwnerActivatedAfterwards activated(owner);
    const DialogHistoryKeeper keeper;
    QString startFolder = folder;
    QString startName;
    for (;;) {
        FileChooser dialog(kind, owner, filter, title, startFolder);
        if (!startName.isEmpty())
            dialog.selectFile(startName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString path = dialog.selectedFiles().first();
        if (dialog.m_checked || acceptable(kind, path, owner, title)) {
            // Qt gives "/" on every system; the boxes and command lines take the system's own.
            const QString chosen = QDir::toNativeSeparators(path);
            // Where names may end in a blank, "game.sav " is another file than "game.sav".
            return platform::fileNamesKeepOuterBlanks() ? chosen : withoutOuterBlanks(chosen);
        }
        // Refused after the system's dialog closed: it opens again where the user was.
        startFolder = QFileInfo(path).absolutePath();
        startName = QFileInfo(path).fileName();
    }
}
