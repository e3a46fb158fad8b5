#include "controls/TextWidth.h"

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

qreal TextWidth::sum(const QChar* begin, const QChar* end, qreal start)
{
    // Added up from left to right, so that a text measured from its prefix's width comes
    // out exactly as one measured from its first character.
    qreal width = start;
    for (const QChar* c = begin; c != end; ++c) {
        const char16_t code = c->unicode();
        const qreal known = code < m_latin.size() ? m_latin[code] : -1;
        width += known >= 0 ? known : advance(*c);
    }
    return width;
}

void TextWidth::setCommonPrefix(const QString& prefix)
{
    m_prefix = prefix;
    m_prefixWidth = sum(prefix.constBegin(), prefix.constEnd(), 0);
}

int TextWidth::of(const QString& text)
{
    const bool fromPrefix = !m_prefix.isEmpty() && text.startsWith(m_prefix);
    const qsizetype skip = fromPrefix ? m_prefix.size() : 0;
    return int(std::ceil(sum(text.constBegin() + skip, text.constEnd(), fromPrefix ? m_prefixWidth : 0)));
}
