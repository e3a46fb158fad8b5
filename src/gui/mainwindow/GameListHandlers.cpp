// Editing the game list: add, remove, move, reset, and its sideways extent.
#include "controls/Announcer.h"
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/GameListBox.h"
#include "controls/GameListModel.h"
#include "mainwindow/MainWindow.h"
#include "multirom/GameList.h"
#include "multirom/PathRules.h"
#include "platform/Platform.h"
#include "services/WindowServices.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <functional>

void MainWindow::onAdd()
{
    if (m_fileList->currentRow() < 0)
        return;

    const QStringList& names = m_fileList->texts();
    const int fileCount = int(names.size());
    QVector<bool> selected(fileCount, false);
    for (const QModelIndex& index : m_fileList->selectionModel()->selectedIndexes())
        selected[index.row()] = true;

    for (int i = 0; i < fileCount; ++i) {
        if (selected[i] && m_fileList->isUnusable(names[i])) {
            m_services.tell(this, QStringLiteral("this file's name is not valid text, so Vellmore cannot use it: ") +
                                      multirom::composeGamePath(browserFolder(), names[i]) +
                                      QStringLiteral("\nNothing was added."));
            return;
        }
    }
    const multirom::GameListAddition addition = multirom::planAddition(m_gameList->entries(), browserFolder(), names,
                                                                       selected, platform::fileNameCaseSensitivity());
    if (const auto refusal = multirom::listSizeRefusal(addition.resultingCount, int(addition.appended.size()))) {
        m_services.tell(this, *refusal);
        return;
    }

    for (int position : addition.repeatsToRemove)
        m_gameList->removeEntry(position);
    m_gameList->addItems(addition.appended); // the list box measures each new entry once
    // The extent goes first so that the list is laid out once, with it, when the selection moves.
    updateGameListScroll();
    if (addition.selection)
        m_gameList->setCurrentRow(*addition.selection);
    const int added = int(addition.appended.size());
    m_announcer->say((added == 1 ? tr("1 game added") : tr("%1 games added").arg(added)) +
                     tr(", %1 in the list").arg(m_gameList->count()));
}

QString MainWindow::fileNameOf(const QString& gamePath)
{
    return gamePath.mid(GameListModel::folderLength(gamePath));
}

void MainWindow::numberVisibleSlots()
{
    const int top = m_gameList->verticalScrollBar()->value(); // the list scrolls by whole rows
    for (int slot = 0; slot < int(m_slotNumbers.size()); ++slot)
        m_slotNumbers[size_t(slot)]->setText(QString::number(top + slot + 1));
}

void MainWindow::updateGameListScroll()
{
    m_gameList->setHorizontalExtent(qMin(m_gameList->widestEntry(), 32767) + 5);
}

void MainWindow::onRemove()
{
    if (m_gameList->selectedRow() < 0)
        return;
    // The rows selected at the press, taken first: as each row goes, the list makes the row above
    // it current and selected, and a walk that asked as it went would take that one too.
    QList<int> rows;
    for (const QModelIndex& index : m_gameList->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    const QString removed =
        rows.size() == 1 ? fileNameOf(m_gameList->entry(rows.first())) : tr("%1 games").arg(rows.size());
    for (int row : rows)
        m_gameList->removeEntry(row);
    // The list would select the next entry by itself; a second press must not remove a game never picked.
    // A row stays current, so that the keyboard goes on from where the removed game was.
    m_gameList->clearSelection();
    m_announcer->say(tr("%1 removed, %2 left").arg(removed).arg(m_gameList->count()));
}

void MainWindow::moveSelectedGame(bool down)
{
    const int position = m_gameList->selectedRow();
    const int target = multirom::movedPosition(position, m_gameList->count(), down);
    if (target < 0)
        return;
    m_gameList->moveEntry(position, target);
    m_gameList->setCurrentRow(target);
    m_announcer->say(tr("%1 to slot %2").arg(fileNameOf(m_gameList->entry(target))).arg(target + 1));
}

void MainWindow::onMoveUp()
{
    moveSelectedGame(false);
}

void MainWindow::onMoveDown()
{
    moveSelectedGame(true);
}

void MainWindow::onReset()
{
    m_gameList->clear();
    setPathsFrozen(false);
}
