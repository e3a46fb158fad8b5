#pragma once

#include <QComboBox>
#include <QStringList>

// The drive list of the browser: drive letters on Windows, the mounted volumes
// elsewhere ("/" first). Its drive is the root path of the chosen entry.
class DriveList : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString drive READ drive WRITE setDrive NOTIFY driveChanged)

public:
    explicit DriveList(QWidget* parent = nullptr);

    QString drive() const { return m_drive; }

    // Chooses the drive that holds path; raises driveChanged like a choice of the user.
    void setDrive(const QString& path);

    // Chooses the drive that holds path without raising anything: the list only follows the folder list.
    void showDriveOf(const QString& path);

    // The root of the drive that holds path.
    QString rootOf(const QString& path) const;

public slots:
    void refresh();

signals:
    void driveChanged(const QString& drive);

private:
    static QStringList systemRoots();
    void fill();

    QStringList m_roots;
    QString m_drive;
};
