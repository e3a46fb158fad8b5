#pragma once

#include "controls/BrowseList.h"

#include <QRegularExpression>

// The file list of the browser: the bare names of the ordinary files of one folder
// that match its pattern ("*.gba"; several patterns may be joined with ";"), matched
// without regard to letter case. Several entries can be selected at once.
class FileList : public BrowseList {
    Q_OBJECT
    Q_PROPERTY(QString pattern READ pattern WRITE setPattern)

public:
    explicit FileList(QWidget* parent = nullptr);

    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    bool matches(const QString& name) const;

    // Its files, cheaply pre-filtered by the pattern while the folder is read, sorted.
    platform::FolderQuery query() const override;

    // The pre-filter for a pattern of plain extensions ("*.gba"); empty for any other pattern.
    static platform::RawNameFilter rawFilterFor(const QString& pattern);

protected:
    void fill(const QString& folder, const platform::FolderListing& listing) override;

private:
    QString m_pattern;
    QList<QRegularExpression> m_matchers;
    platform::RawNameFilter m_rawFilter;
};
