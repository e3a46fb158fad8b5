#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QSet>
#include <QStringList>

// The rows of a folder or file list: the text each shows, taken as one list, so that a folder of
// thousands of entries is shown without making anything per entry. A row whose name cannot be
// used is drawn in italics and says why when pointed at; a row may read differently to a screen
// reader than it shows.
class BrowseListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit BrowseListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QStringList& texts() const { return m_texts; }

    // Shows texts in place of every row there was.
    void setTexts(const QStringList& texts);
    void setUnusableRows(const QSet<int>& rows);
    void setAccessibleText(int row, const QString& text);

private:
    QStringList m_texts;
    QSet<int> m_unusable;
    QHash<int, QString> m_accessibleTexts;
};
