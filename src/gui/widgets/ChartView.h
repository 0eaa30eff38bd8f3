#pragma once

#include "reports/Chart.h"

#include <QImage>
#include <QWidget>

namespace lendora {

// A bar chart on screen, drawn in the colours of the window it sits in.
class ChartView : public QWidget {
public:
    explicit ChartView(QWidget *parent = nullptr);

    void setChart(Chart chart);
    const Chart &chart() const { return m_chart; }

    // The chart on white, for a report or a slide: the same drawing, not a screen grab.
    QImage image(const QSize &size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Chart m_chart;
};

}  // namespace lendora
