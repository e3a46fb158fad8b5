#include "windows/TextWidth.h"

#include <cmath>

TextWidth::TextWidth(const QFont& font) : m_metrics(font)
{
    m_latin.fill(-1);
}

qreal TextWidth::advance(QChar c)
{
    const char16_t code = c.unicode();
    if (code < m_latin.size()) {
        qreal& known = m_latin[code];
        if (known < 0)
            known = m_metrics.horizontalAdvance(c);
        return known;
    }
    auto found = m_other.constFind(code);
    if (found == m_other.constEnd())
        found = m_other.insert(code, m_metrics.horizontalAdvance(c));
    return *found;
}

int TextWidth::of(const QString& text)
{
    qreal width = 0;
    for (const QChar c : text)
        width += advance(c);
    return int(std::ceil(width));
}
