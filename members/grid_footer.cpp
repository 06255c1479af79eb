#include "members/grid_footer.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

GridFooter::GridFooter(QHeaderView* header, QWidget* parent) : QWidget(parent), m_header(header) {
    auto repaint = [this] { update(); };
    connect(header, &QHeaderView::sectionResized, this, repaint);
    connect(header, &QHeaderView::sectionMoved, this, repaint);
    connect(header, &QHeaderView::geometriesChanged, this, repaint);
    if (auto* view = qobject_cast<QAbstractScrollArea*>(header->parentWidget()))
        connect(view->horizontalScrollBar(), &QAbstractSlider::valueChanged, this, repaint);
}

void GridFooter::setText(int logicalIndex, const QString& text) {
    m_texts.insert(logicalIndex, text);
    update();
}

QSize GridFooter::sizeHint() const {
    return {100, fontMetrics().height() + 6};
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_header)
        return;
    // The header sits inside the grid's frame; the footer lines up with it.
    const int offset = m_header->mapTo(window(), QPoint()).x() - mapTo(window(), QPoint()).x();
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it) {
        if (m_header->isSectionHidden(it.key()))
            continue;
        const QRect cell(offset + m_header->sectionViewportPosition(it.key()) + 2, 0,
                         m_header->sectionSize(it.key()) - 4, height());
        painter.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft, it.value());
    }
}
