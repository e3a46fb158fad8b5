#include "controls/BrowseListModel.h"

#include <QFont>

BrowseListModel::BrowseListModel(QObject* parent) : QAbstractListModel(parent) {}

int BrowseListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_texts.size());
}

QVariant BrowseListModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= m_texts.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_texts[row];
    case Qt::AccessibleTextRole:
        return m_accessibleTexts.value(row, m_texts[row]);
    case Qt::FontRole:
        if (m_unusable.contains(row)) {
            QFont italic; // only the slant: the rest is the list's own face
            italic.setItalic(true);
            return italic;
        }
        return QVariant();
    case Qt::ToolTipRole:
        if (m_unusable.contains(row))
            return tr("This name is not valid text, so Vellmore cannot use it. Rename it to use it.");
        return QVariant();
    default:
        return QVariant();
    }
}

void BrowseListModel::setTexts(const QStringList& texts)
{
    beginResetModel();
    m_texts = texts;
    m_unusable.clear();
    m_accessibleTexts.clear();
    endResetModel();
}

void BrowseListModel::setUnusableRows(const QSet<int>& rows)
{
    m_unusable = rows;
    if (!m_texts.isEmpty())
        emit dataChanged(index(0), index(int(m_texts.size()) - 1), {Qt::FontRole, Qt::ToolTipRole});
}

void BrowseListModel::setAccessibleText(int row, const QString& text)
{
    m_accessibleTexts.insert(row, text);
    emit dataChanged(index(row), index(row), {Qt::AccessibleTextRole});
}
