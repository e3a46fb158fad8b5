#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The games of the game list, in slot order: their paths, and what a screen reader reads of each
// row worked out when it asks, from the row's place ("slot 3: Comet Courier.gba", the folder as
// description), so that adding thousands of games stores nothing but their paths. The current
// row's description also says its header, read when it became current.
class GameListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit GameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QStringList& paths() const { return m_paths; }
    QString path(int row) const { return m_paths.value(row); }

    void append(const QStringList& paths);
    void remove(int row);
    // Moves the game at from so that it ends at to.
    void move(int from, int to);
    void clear();

    // The row whose description also says what its header says, -1 for none.
    void setDescribedHeader(int row, const QString& header);

    // Where the folder of a path ends (after its last separator).
    static int folderLength(const QString& path);

private:
    QStringList m_paths;
    int m_headerRow = -1;
    QString m_header;
};
