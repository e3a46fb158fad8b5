#include "controls/FileChooser.h"

#include "platform/FileFilter.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// Blanks only: a name may well end in another kind of white space.
QString withoutOuterBlanks(const QString& path)
{
    qsizetype first = 0;
    qsizetype last = path.size();
    while (first < last && path[first] == QLatin1Char(' '))
        ++first;
    while (last > first && path[last - 1] == QLatin1Char(' '))
        --last;
    return path.mid(first, last - first);
}

} // namespace

FileChooser::FileChooser(Kind kind, QWidget* owner, const QString& filter, const QString& title, const QString& folder)
    : QFileDialog(owner, title, folder), m_kind(kind)
{
    setObjectName(QStringLiteral("fileChooser"));
    setOption(QFileDialog::DontUseNativeDialog);
    setWindowModality(Qt::WindowModal);
    setAcceptMode(kind == Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(kind == Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = platform::nameFiltersFromText(filter);
    setNameFilters(filters);
    if (!filters.isEmpty())
        selectNameFilter(filters.first());
}

void FileChooser::accept()
{
    const QStringList chosen = selectedFiles();
    if (m_kind == Kind::Save && chosen.size() == 1) {
        const QFileInfo target(chosen.first());
        // Replacing an existing file is Qt's own question; creating a new one is ours.
        if (!target.exists() && !target.isSymLink()) {
            QMessageBox ask(QMessageBox::NoIcon, windowTitle(),
                            target.fileName() + QStringLiteral("\nThis file does not exist.\nCreate the file?"),
                            QMessageBox::Yes | QMessageBox::No, this);
            ask.setObjectName(QStringLiteral("createPrompt"));
            ask.setDefaultButton(QMessageBox::Yes);
            if (ask.exec() != QMessageBox::Yes)
                return;
        }
    }
    QFileDialog::accept();
}

QString FileChooser::choose(Kind kind, QWidget* owner, const QString& filter, const QString& title,
                            const QString& folder)
{
    FileChooser dialog(kind, owner, filter, title, folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withoutOuterBlanks(dialog.selectedFiles().first());
}

QString FileChooser::chooseInto(Kind kind, QWidget* owner, const QString& filter, const QString& title,
                                const QString& folder, const QLabel* mode, std::initializer_list<Target> targets)
{
    const QString chosen = choose(kind, owner, filter, title, folder);
    for (const Target& target : targets) {
        if (mode->text() == QLatin1String(target.mode)) {
            target.box->setText(chosen);
            break;
        }
    }
    return chosen;
}
