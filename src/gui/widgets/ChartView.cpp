#include "gui/widgets/ChartView.h"

#include <QPainter>

namespace lendora {

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::setChart(Chart chart)
{
    m_chart = std::move(chart);
    update();
}

QImage ChartView::image(const QSize &size) const
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ChartStyle style = ChartStyle::forBackground(Qt::white);
    style.font = font();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    m_chart.paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), style);
    return picture;
}

QSize ChartView::sizeHint() const
{
    return {480, 320};
}

QSize ChartView::minimumSizeHint() const
{
    return {240, 160};
}

void ChartView::paintEvent(QPaintEvent *)
{
    // The skin's background shows through; only the chart's own lines and bars are drawn.
    ChartStyle style = ChartStyle::forBackground(palette().color(backgroundRole()));
    style.background = QColor();
    style.font = font();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_chart.paint(painter, rect(), style);
}

}  // namespace lendora
