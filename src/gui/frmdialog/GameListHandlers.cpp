// Editing the game list: add, remove, move, reset, and its sideways extent.
#include "app/WindowServices.h"
#include "controls/ColourValue.h"
#include "controls/FileList.h"
#include "controls/GameListBox.h"
#include "frmdialog/frmdialog.h"
#include "multirom/GameList.h"
#include "multirom/PathRules.h"
#include "platform/Platform.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <functional>

void frmdialog::addbtn_Click()
{
    if (filedialog->currentRow() < 0)
        return;

    const int fileCount = filedialog->count();
    QStringList names;
    names.reserve(fileCount);
    for (int i = 0; i < fileCount; ++i)
        names.append(filedialog->item(i)->text());
    QVector<bool> selected(fileCount, false);
    for (const QModelIndex& index : filedialog->selectionModel()->selectedIndexes())
        selected[index.row()] = true;

    for (int i = 0; i < fileCount; ++i) {
        if (selected[i] && filedialog->isUnusable(names[i])) {
            m_services.tell(this, QStringLiteral("this file's name is not valid text, so Vellmore cannot use it: ") +
                                      multirom::composeGamePath(browserFolder(), names[i]) +
                                      QStringLiteral("\nNothing was added."));
            return;
        }
    }
    const multirom::GameListAddition addition = multirom::planAddition(listdialog->entries(), browserFolder(), names,
                                                                       selected, platform::fileNameCaseSensitivity());
    if (addition.resultingCount > multirom::maxGameListEntries) {
        m_services.tell(
            this, QStringLiteral("The game list holds at most %1 games; these %2 would make %3. Nothing was added.")
                      .arg(multirom::maxGameListEntries)
                      .arg(addition.appended.size())
                      .arg(addition.resultingCount));
        return;
    }

    for (int position : addition.repeatsToRemove)
        delete listdialog->takeItem(position);
    listdialog->addItems(addition.appended); // the list box measures each new entry once
    // The extent goes first so that the list is laid out once, with it, when the selection moves.
    SetHScroll(listdialog);
    if (addition.selection)
        listdialog->setCurrentRow(*addition.selection);
}

void frmdialog::SetHScroll(GameListBox* list)
{
    list->setHorizontalExtent(qMin(list->widestEntry(), 32767) + 5);
}

void frmdialog::rmvbutton_Click()
{
    if (listdialog->selectedRow() < 0)
        return;
    // The rows selected at the press, taken first: as each row goes, the list makes the row above
    // it current and selected, and a walk that asked as it went would take that one too.
    QList<int> rows;
    for (const QModelIndex& index : listdialog->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : rows)
        delete listdialog->takeItem(row);
    // The list would select the next entry by itself; a second press must not remove a game never picked.
    listdialog->selectionModel()->clear();
}

int frmdialog::MoveListItem(GameListBox* list, qint16 direction)
{
    const int position = list->selectedRow();
    const int target = multirom::movedPosition(position, list->count(), direction != 0);
    if (target < 0)
        return -1;
    QListWidgetItem* item = list->takeItem(position);
    list->insertItem(target, item);
    list->setCurrentRow(target);
    return target;
}

void frmdialog::moveup_Click()
{
    MoveListItem(listdialog, 0);
}

void frmdialog::movedown_Click()
{
    MoveListItem(listdialog, 1);
}

void frmdialog::reset_Click()
{
    listdialog->clear();
    setPathsFrozen(false);
}
