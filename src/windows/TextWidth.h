#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>

// Measures text in pixels as the sum of its characters' advances in one font, the way
// a Windows text extent is measured (no kerning). Each character is looked up in the font
// once, so measuring thousands of paths that share their letters costs little.
class TextWidth {
public:
    explicit TextWidth(const QFont& font);

    int of(const QString& text);

private:
    qreal advance(QChar c);

    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latin;
    QHash<char16_t, qreal> m_other;
};
