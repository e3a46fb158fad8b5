#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>

// Measures text in pixels as the sum of its characters' advances in one font, the way
// a Windows text extent is measured (no kerning). Each character is looked up in the font
// once, and a prefix that many texts share (their folder) is added up once.
class TextWidth {
public:
    explicit TextWidth(const QFont& font);

    // Texts that begin with prefix start from its width, measured here once.
    void setCommonPrefix(const QString& prefix);

    int of(const QString& text);

private:
    qreal advance(QChar c);
    qreal sum(const QChar* begin, const QChar* end, qreal start);

    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latin;
    QHash<char16_t, qreal> m_other;
    QString m_prefix;
    qreal m_prefixWidth = 0;
};
