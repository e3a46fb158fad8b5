#include "platform/FileFilter.h"

namespace platform {

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

} // namespace platform
