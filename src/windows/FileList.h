#pragma once

#include "platform/FolderReader.h"

#include <QListWidget>
#include <QRegularExpression>

// The file list of the browser: the bare names of the ordinary files of one folder
// that match its pattern ("*.gba"; several patterns may be joined with ";"), matched
// without regard to letter case. Several entries can be selected at once.
class FileList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    Q_PROPERTY(QString pattern READ pattern WRITE setPattern)

public:
    explicit FileList(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);
    bool showFolder(const QString& path); // without raising pathChanged
    void showListing(const QString& folder, const platform::FolderListing& listing);

    // How the list reads a folder: its files, cheaply pre-filtered by the pattern, sorted.
    platform::FolderQuery query() const;
    static platform::RawNameFilter rawFilterFor(const QString& pattern);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    bool matches(const QString& name) const;

public slots:
    void refresh();

signals:
    void pathChanged(const QString& path);
    void folderUnreadable(const QString& path, const QString& reason);

private:
    bool load(const QString& path);

    QString m_path;
    QString m_pattern;
    QList<QRegularExpression> m_matchers;
    platform::RawNameFilter m_rawFilter; // set when every pattern is "*.ext": matched on raw names
};
