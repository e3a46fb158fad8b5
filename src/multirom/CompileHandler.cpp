// "Compile multirom": checks, flash.bat, its run, and the frozen state that follows.
#include "multirom/CompilePlan.h"
#include "multirom/PathRules.h"
#include "platform/FolderReader.h"
#include "platform/ProcessRunner.h"
#include "windows/ColourValue.h"
#include "windows/GameListBox.h"
#include "windows/MessageBox.h"
#include "windows/frmdialog.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cerrno>

namespace {

QString fileErrorText(const QFile& file)
{
    return errno != 0 ? platform::systemErrorText(errno) : file.errorString();
}

} // namespace

void frmdialog::compilebtn_Click()
{
    const QString loader = ldrtext->text();
    const QString output = multitxt->text();
    if (output.isEmpty()) {
        showMessage(this, QStringLiteral("no output file selected"));
        colours::setTextColour(Label3, colours::red);
        return;
    }
    const QStringList games = listdialog->entries();
    if (games.isEmpty()) {
        showMessage(this, QStringLiteral("you need to have some games, ne?"));
        return;
    }
    if (loader.isEmpty()) {
        showMessage(this, QStringLiteral("please select a loader"));
        colours::setTextColour(Label2, colours::red);
        colours::setTextColour(gotloader, colours::red);
        return;
    }
    if (toolPathMissing())
        return;

    // Nothing is written until every path is known to be safe and every input is there.
    if (const auto unquotable = multirom::firstUnquotablePath(QStringList{loader, output} + games)) {
        showMessage(this, QStringLiteral("a path with a double quote or a line break cannot be used: ") + *unquotable);
        return;
    }
    if (const auto problem = multirom::compileInputProblem(loader, games, output)) {
        showMessage(this, *problem);
        return;
    }

    const QString batchPath = multirom::composeInFolder(browserFolder(), multirom::batchFileName);
    QFile batch(batchPath);
    errno = 0;
    if (!batch.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        batch.write(multirom::batchFileContent(multirom::copyLine(loader, games, output))) < 0 || !batch.flush()) {
        const QString reason = fileErrorText(batch);
        batch.close();
        batch.remove();
        showMessage(this, QStringLiteral("cannot write ") + batchPath + QStringLiteral(": ") + reason);
        return;
    }
    batch.close();

    const qint64 expectedSize = multirom::expectedMultiromSize(loader, games);
    const platform::RunOutcome outcome = platform::ExecCmd(platform::CommandLine(batchPath));

    int deleteError = 0;
    if (!platform::deleteFile(batchPath, &deleteError) && deleteError != ENOENT) {
        showMessage(this, QStringLiteral("cannot delete ") + batchPath + QStringLiteral(": ") +
                              platform::systemErrorText(deleteError));
        refreshBrowser();
        File_Exists(multirom::multiromProbePath(browserFolder()));
        return;
    }

    QString failure;
    if (!outcome.succeeded()) {
        failure = outcome.kind == platform::RunOutcome::Kind::NotStarted
                      ? QStringLiteral("the batch file ") + batchPath + QStringLiteral(" could not be started")
                      : QStringLiteral("the copy ended with ") + outcome.describe();
    } else {
        const QFileInfo written(output);
        if (!written.exists())
            failure = output + QStringLiteral(" was not written");
        else if (written.size() != expectedSize)
            failure =
                QStringLiteral("%1 holds %2 bytes, expected %3").arg(output).arg(written.size()).arg(expectedSize);
    }

    if (failure.isEmpty())
        showMessage(this, QStringLiteral("Compiled to ") + output + QStringLiteral("\n\r\n\rpress Flash for fun!"));
    else
        showMessage(this, QStringLiteral("compile failed: ") + failure);
    refreshBrowser();
    File_Exists(multirom::multiromProbePath(browserFolder()));
    if (failure.isEmpty())
        setPathsFrozen(true);
}

bool frmdialog::toolPathMissing()
{
    if (!orbicklocation->text().isEmpty())
        return false;
    showMessage(this, QStringLiteral("please select your Orbick location"));
    colours::setTextColour(Label4, colours::red);
    colours::setTextColour(gotorbick, colours::red);
    return true;
}

void frmdialog::setPathsFrozen(bool frozen)
{
    const quint32 background = frozen ? colours::activeBorder : colours::windowBackground;
    for (QLineEdit* box : {orbicklocation, multitxt, ldrtext})
        colours::setBackgroundColour(box, background);
    for (QPushButton* browse : {Command2, ldrselect, orbickbtn})
        browse->setVisible(!frozen);
}
