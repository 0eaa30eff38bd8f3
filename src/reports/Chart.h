#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;
class QPaintDevice;

namespace lendora {

// Round steps for a value axis: step is 1, 2 or 5 times a power of ten, and ticks steps reach
// at least the largest value. decimals is what a tick's text needs (0.5 needs one).
struct AxisStep {
    double step = 1;
    int ticks = 1;
    int decimals = 0;
    double top() const { return step * ticks; }
    QString tickText(int index) const;
    bool operator==(const AxisStep &) const = default;
};

// At most maxTicks steps (at least one); 0, negative or non-finite maxima give the axis 0..1.
// Maxima beyond 1e300 are treated as 1e300, so the top stays finite. wholeSteps keeps steps of
// counts (loans, books) at 1 or more.
AxisStep niceAxisStep(double maxValue, int maxTicks, bool wholeSteps = false);

// Colours and fonts of a chart on one background. Series colours differ in lightness as well as
// hue, so a black-and-white printer keeps them apart.
struct ChartStyle {
    QColor background;  // not filled when invalid or transparent
    QColor text;
    QColor axis;  // axis line and bar outlines
    QColor grid;
    QList<QColor> series;      // first and second series
    bool hatchSecond = false;  // diagonal lines over the second series
    QFont font;                // labels; the title is drawn larger and bold
    static ChartStyle forBackground(const QColor &background);  // a window's background
    static ChartStyle print();  // white paper, the print font, the second series hatched
};

enum class ChartOrientation {
    Automatic,   // vertical unless a category label would have to be shortened
    Vertical,    // columns rising from the category axis at the bottom
    Horizontal,  // bars from the left, category names on the left
};

struct ChartCategory {
    QString label;
    QString share;  // optional, written beyond the bars, e.g. "23.5%"
    bool operator==(const ChartCategory &) const = default;
};

struct ChartSeries {
    QString name;          // the legend's text; no legend when every name is empty
    QList<double> values;  // one per category; missing ones count as 0, negative ones too
    bool operator==(const ChartSeries &) const = default;
};

// Where one text goes, in the paint device's pixels.
struct ChartLabel {
    enum Kind { Title, Legend, Category, Tick, Share };
    Kind kind = Category;
    int index = -1;  // the category, series or tick
    QString text;    // as drawn; '\n' between lines
    QRectF rect;     // the lines' own extent
    Qt::Alignment alignment = Qt::AlignLeft;
    bool elided = false;  // shortened with "…"
};

struct ChartLayout {
    ChartOrientation orientation = ChartOrientation::Vertical;  // never Automatic
    QRectF plot;                                                // inside the axes
    AxisStep axis;
    qreal valueLength = 0;  // pixels from the axis to the top tick
    QFont font;
    QFont titleFont;
    QList<QList<QRectF>> bars;  // per series, per category
    QList<ChartLabel> labels;
    QList<QRectF> legendSwatches;  // per series
    int hiddenLabels = 0;          // category labels left out because rows are too thin
    int elidedLabels() const;
};

// A bar chart: categories along one axis, one or two series of values along the other.
class Chart {
    Q_DECLARE_TR_FUNCTIONS(Chart)

public:
    QString title;
    QList<ChartCategory> categories;
    QList<ChartSeries> series;  // one or two; more are ignored
    ChartOrientation orientation = ChartOrientation::Automatic;

    // Measures with the device's fonts (the screen's when null); paint() draws exactly this.
    ChartLayout layout(const QRectF &area, const ChartStyle &style,
                       QPaintDevice *device = nullptr) const;
    void paint(QPainter &painter, const QRectF &area, const ChartStyle &style) const;

    // The text as it fits in width on at most maxLines lines, broken and shortened only between
    // whole characters; elided tells whether "…" ends it.
    static QStringList fitLines(const QString &text, const QFont &font, QPaintDevice *device,
                                qreal width, int maxLines, bool *elided = nullptr);

    bool operator==(const Chart &) const = default;
};

}  // namespace lendora
