#include "controls/ApplicationStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

namespace {

// An icon of the style that is read the first time it is asked for a size or a picture.
class DeferredStyleIcon : public QIconEngine {
public:
    DeferredStyleIcon(QStyle* style, QStyle::StandardPixmap which, const QStyleOption* option)
        : m_style(style), m_which(which)
    {
        if (option)
            m_direction = option->direction; // what the style reads of the option: the overflow arrow's way
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().actualSize(size, mode, state);
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
#else
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) const override
#endif
    {
        return loaded().availableSizes(mode, state);
    }

    QIconEngine* clone() const override
    {
        return new DeferredStyleIcon(*this);
    }

private:
    const QIcon& loaded() const
    {
        if (!m_read && m_style) {
            QStyleOption option;
            option.direction = m_direction;
            m_icon = m_style->standardIcon(m_which, &option);
            m_read = true;
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    Qt::LayoutDirection m_direction = Qt::LeftToRight;
    mutable bool m_read = false;
    mutable QIcon m_icon;
};

} // namespace

QIcon ApplicationStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const
{
    if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredStyleIcon(baseStyle(), which, option));
    return QProxyStyle::standardIcon(which, option, widget);
}
