#include "controls/FileFilter.h"

namespace choosers {

QStringList nameFiltersFromText(const QString& filterText)
{
    QString text = filterText;
    if (!text.endsWith(QLatin1Char('|')))
        text += QLatin1Char('|');
    const QStringList parts = text.split(QLatin1Char('|'));
    QStringList filters;
    // The last part is the empty one after the closing "|"; a description without a pattern ends the list.
    for (int i = 0; i + 2 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        const QString shown = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        filters.append(description.endsWith(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

QStringList matchingPatterns(const QString& nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = nameFilter.lastIndexOf(QLatin1Char(')'));
    const QString inside = open >= 0 && close > open ? nameFilter.mid(open + 1, close - open - 1) : nameFilter;
    QStringList patterns = inside.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    return patterns;
}

QString defaultSuffix(const QString& nameFilter)
{
    const QStringList patterns = matchingPatterns(nameFilter);
    if (patterns.size() != 1 || !patterns.first().startsWith(QLatin1String("*.")))
        return QString();
    const QString suffix = patterns.first().mid(2);
    const bool plain = !suffix.isEmpty() && !suffix.contains(QLatin1Char('*')) && !suffix.contains(QLatin1Char('?')) &&
                       !suffix.contains(QLatin1Char('.')) && !suffix.contains(QLatin1Char('['));
    return plain ? suffix : QString();
}

} // namespace choosers
