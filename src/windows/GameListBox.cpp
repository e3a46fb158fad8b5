#include "windows/GameListBox.h"

#include <QScrollBar>

GameListBox::GameListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
}

void GameListBox::setHorizontalExtent(int pixels)
{
    m_extent = pixels;
    updateGeometries();
}

QStringList GameListBox::entries() const
{
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.append(item(i)->text());
    return texts;
}

void GameListBox::updateGeometries()
{
    QListWidget::updateGeometries();
    const int hidden = qMax(0, m_extent - viewport()->width());
    horizontalScrollBar()->setRange(0, hidden);
    horizontalScrollBar()->setPageStep(viewport()->width());
}
