#include "controls/GameListModel.h"

GameListModel::GameListModel(QObject* parent) : QAbstractListModel(parent) {}

int GameListModel::folderLength(const QString& path)
{
    return int(qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

int GameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_paths.size());
}

Qt::ItemFlags GameListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_paths.size())
        return QVariant();
    const QString& path = m_paths.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return path;
    case Qt::AccessibleTextRole:
        return QStringLiteral("slot ") + QString::number(index.row() + 1) + QStringLiteral(": ") +
               path.mid(folderLength(path));
    case Qt::AccessibleDescriptionRole: {
        const int cut = folderLength(path);
        const QString folder = path.left(cut > 0 ? cut - 1 : 0);
        return index.row() == m_headerRow ? folder + QStringLiteral("; ") + m_header : folder;
    }
    default:
        return QVariant();
    }
}

void GameListModel::append(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_paths.size()), int(m_paths.size() + paths.size() - 1));
    m_paths.append(paths);
    endInsertRows();
}

void GameListModel::remove(int row)
{
    if (row < 0 || row >= m_paths.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_paths.removeAt(row);
    if (m_headerRow == row)
        m_headerRow = -1;
    else if (m_headerRow > row)
        --m_headerRow;
    endRemoveRows();
}

void GameListModel::move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_paths.size() || to >= m_paths.size())
        return;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_paths.move(from, to);
    m_headerRow = -1;
    endMoveRows();
}

void GameListModel::clear()
{
    beginResetModel();
    m_paths.clear();
    m_headerRow = -1;
    endResetModel();
}

void GameListModel::setDescribedHeader(int row, const QString& header)
{
    m_headerRow = row;
    m_header = header;
}
