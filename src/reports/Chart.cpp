#include "reports/Chart.h"

#include "base/NumberText.h"
#include "reports/PrintFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace lendora {

namespace {

constexpr double kLargestAxis = 1e300;
constexpr double kRelativeSlack = 1e-9;  // rounding of value / step
constexpr int kMaxLabelLines = 2;
constexpr int kMaxTicks = 10;
constexpr qreal kGroupShare = 0.7;        // of a category's slot, the rest is the gap
constexpr qreal kLabelColumnShare = 0.4;  // of the width, at most, for names left of bars
constexpr qreal kMaxBarLines = 3;         // a lone bar is no thicker than three lines of text
constexpr qreal kTitleScale = 1.3;

const QString &ellipsis()
{
    static const QString text = QStringLiteral("…");
    return text;
}

QFontMetricsF metrics(const QFont &font, QPaintDevice *device)
{
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

qreal widest(const QStringList &lines, const QFontMetricsF &fm)
{
    qreal width = 0;
    for (const QString &line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    return width;
}

void chopSpaces(QString &text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
}

// The longest run of whole characters (grapheme clusters) that fits with "…" after it.
QString elide(const QString &text, const QFontMetricsF &fm, qreal width)
{
    if (fm.horizontalAdvance(ellipsis()) > width)
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype kept = 0;
    for (qsizetype pos = finder.toNextBoundary(); pos > 0; pos = finder.toNextBoundary()) {
        if (fm.horizontalAdvance(text.left(pos) + ellipsis()) > width)
            break;
        kept = pos;
    }
    QString result = text.left(kept);
    chopSpaces(result);
    return result + ellipsis();
}

double boundedMax(double value)
{
    return std::isfinite(value) ? std::min(value, kLargestAxis) : 0;
}

struct Measures {
    QFont font;
    QFontMetricsF fm;
    qreal line;
    qreal pad;
    int seriesCount;
    int categoryCount;
    double maxValue;
    bool whole;  // every value a count
};

class Placer {
public:
    Placer(const Chart &chart, QPaintDevice *device, const Measures &m, ChartLayout base)
        : m_chart(chart), m_device(device), m(m), m_out(std::move(base))
    {}

    ChartLayout vertical(const QRectF &rest)
    {
        m_out.orientation = ChartOrientation::Vertical;
        const bool shares = hasShares();
        const qreal headroom = (shares ? m.line + m.pad / 2 : m.line / 2);
        const qreal estimate = rest.height() - kMaxLabelLines * m.line - m.pad - headroom;
        m_out.axis = niceAxisStep(m.maxValue, tickBudget(estimate / (2.5 * m.line)), m.whole);
        qreal tickWidth = 0;
        for (int i = 0; i <= m_out.axis.ticks; ++i)
            tickWidth = std::max(tickWidth, m.fm.horizontalAdvance(m_out.axis.tickText(i)));

        const qreal left = rest.left() + tickWidth + m.pad / 2;
        const qreal slot = std::max<qreal>(rest.right() - left, 1) / m.categoryCount;
        const qreal minLabel = 2 * m.fm.horizontalAdvance(QStringLiteral("中")) + m.pad / 2;
        const int stride = std::max(1, int(std::ceil(minLabel / slot - kRelativeSlack)));
        // Centred under its column and kept off the tick texts and the right edge.
        auto labelWidth = [&](int i) {
            const qreal centre = left + slot * (i + 0.5);
            return std::max<qreal>(std::min({stride * slot - m.pad / 2, 2 * (centre - left),
                                             2 * (rest.right() - centre)}),
                                   1);
        };

        // A share stays above its own column, clear of the neighbours' bars.
        auto shareWidth = [&](int i) {
            return std::min(labelWidth(i), std::max<qreal>(slot - m.pad / 2, 1));
        };

        QList<QStringList> texts(m.categoryCount);
        QList<bool> elided(m.categoryCount, false);
        qsizetype lines = 1;
        for (int i = 0; i < m.categoryCount; i += stride) {
            bool cut = false;
            texts[i] = Chart::fitLines(m_chart.categories.at(i).label, m.font, m_device,
                                       labelWidth(i), kMaxLabelLines, &cut);
            elided[i] = cut;
            lines = std::max(lines, texts.at(i).size());
        }
        const qreal bottom = rest.bottom() - lines * m.line - m.pad / 2;
        m_out.plot = QRectF(QPointF(left, rest.top()), QPointF(rest.right(), bottom));
        m_out.valueLength = std::max<qreal>(m_out.plot.height() - headroom, 0);

        for (int i = 0; i <= m_out.axis.ticks; ++i) {
            const QString text = m_out.axis.tickText(i);
            const qreal w = m.fm.horizontalAdvance(text);
            const qreal y = bottom - m_out.valueLength * i / m_out.axis.ticks;
            add(ChartLabel::Tick, i, {text},
                QRectF(left - m.pad / 2 - w, y - m.line / 2, w, m.line), Qt::AlignRight, false);
        }
        placeBars();
        for (int i = 0; i < m.categoryCount; ++i) {
            const qreal centre = left + slot * (i + 0.5);
            if (i % stride != 0) {
                countHidden(i);
                continue;
            }
            const qreal w = widest(texts.at(i), m.fm);
            QRectF rect(centre - w / 2, bottom + m.pad / 2, w, texts.at(i).size() * m.line);
            add(ChartLabel::Category, i, texts.at(i), rect, Qt::AlignHCenter, elided.at(i));
            if (shares) {
                bool cut = false;
                const QStringList share = Chart::fitLines(m_chart.categories.at(i).share, m.font,
                                                          m_device, shareWidth(i), 1, &cut);
                const qreal sw = widest(share, m.fm);
                const qreal top = tallestEnd(i);
                if (!share.isEmpty())
                    add(ChartLabel::Share, i, share,
                        QRectF(centre - sw / 2, top - m.pad / 4 - m.line, sw, m.line),
                        Qt::AlignHCenter, cut);
            }
        }
        return m_out;
    }

    ChartLayout horizontal(const QRectF &rest)
    {
        m_out.orientation = ChartOrientation::Horizontal;
        const qreal bottom = rest.bottom() - m.line - m.pad / 4;
        const qreal row = std::max<qreal>(bottom - rest.top(), 1) / m.categoryCount;
        const int lineCount = row >= kMaxLabelLines * m.line ? kMaxLabelLines : 1;
        const int stride = row >= m.line ? 1 : int(std::ceil(1.5 * m.line / row));

        qreal natural = 0;
        for (const ChartCategory &category : m_chart.categories)
            natural = std::max(natural, m.fm.horizontalAdvance(category.label.simplified()));
        const qreal column = std::min(natural, rest.width() * kLabelColumnShare);
        const qreal left = rest.left() + column + m.pad / 2;

        qreal shareWidth = 0;
        for (const ChartCategory &category : m_chart.categories)
            shareWidth = std::max(shareWidth, m.fm.horizontalAdvance(category.share.simplified()));
        // The widest tick text, with a digit to spare for the wider top of a coarser axis.
        const AxisStep fine = niceAxisStep(m.maxValue, kMaxTicks, m.whole);
        qreal tickWidth = 0;
        for (int i = 0; i <= fine.ticks; ++i)
            tickWidth = std::max(tickWidth, m.fm.horizontalAdvance(fine.tickText(i)));
        tickWidth += m.fm.horizontalAdvance(QLatin1Char('0'));
        const qreal right = std::max(shareWidth > 0 ? shareWidth + m.pad / 2 : 0, tickWidth / 2);

        m_out.plot = QRectF(QPointF(left, rest.top()), QPointF(rest.right(), bottom));
        m_out.valueLength = std::max<qreal>(m_out.plot.width() - right, 0);
        m_out.axis =
            niceAxisStep(m.maxValue, tickBudget(m_out.valueLength / (tickWidth + m.pad)), m.whole);

        for (int i = 0; i <= m_out.axis.ticks; ++i) {
            const QString text = m_out.axis.tickText(i);
            const qreal w = m.fm.horizontalAdvance(text);
            const qreal x = left + m_out.valueLength * i / m_out.axis.ticks;
            QRectF rect(x - w / 2, bottom + m.pad / 4, w, m.line);
            rect.moveLeft(std::max(rect.left(), rest.left()));
            add(ChartLabel::Tick, i, {text}, rect, Qt::AlignHCenter, false);
        }
        placeBars();
        for (int i = 0; i < m.categoryCount; ++i) {
            if (i % stride != 0) {
                countHidden(i);
                continue;
            }
            const qreal centre = rest.top() + row * (i + 0.5);
            bool cut = false;
            const QStringList text = Chart::fitLines(m_chart.categories.at(i).label, m.font,
                                                     m_device, column, lineCount, &cut);
            const qreal w = widest(text, m.fm);
            const qreal h = text.size() * m.line;
            QRectF rect(left - m.pad / 2 - w, centre - h / 2, w, h);
            rect.moveTop(std::clamp(rect.top(), rest.top(), std::max(rest.top(), bottom - h)));
            add(ChartLabel::Category, i, text, rect, Qt::AlignRight, cut);

            const QStringList share = Chart::fitLines(m_chart.categories.at(i).share, m.font,
                                                      m_device, shareWidth + 1, 1, &cut);
            if (!share.isEmpty()) {
                QRectF box(0, centre - m.line / 2, widest(share, m.fm), m.line);
                box.moveTop(
                    std::clamp(box.top(), rest.top(), std::max(rest.top(), bottom - m.line)));
                // Rows thinner than a line: clear of every bar beside the text, not only its own.
                qreal end = tallestEnd(i);
                for (int j = 0; j < m.categoryCount; ++j) {
                    if (rest.top() + row * (j + 1) > box.top()
                        && rest.top() + row * j < box.bottom())
                        end = std::max(end, tallestEnd(j));
                }
                box.moveLeft(end + m.pad / 4);
                add(ChartLabel::Share, i, share, box, Qt::AlignLeft, cut);
            }
        }
        return m_out;
    }

private:
    static int tickBudget(qreal fit) { return std::clamp(int(fit), 1, kMaxTicks); }

    bool hasShares() const
    {
        return std::any_of(m_chart.categories.cbegin(), m_chart.categories.cend(),
                           [](const ChartCategory &c) { return !c.share.trimmed().isEmpty(); });
    }

    double value(int series, int category) const
    {
        const double v = m_chart.series.at(series).values.value(category, 0);
        return std::isfinite(v) ? std::clamp(v, 0.0, m_out.axis.top()) : 0;
    }

    void placeBars()
    {
        const bool vertical = m_out.orientation == ChartOrientation::Vertical;
        const QRectF &plot = m_out.plot;
        const qreal slot = (vertical ? plot.width() : plot.height()) / m.categoryCount;
        const qreal group = std::min(slot * kGroupShare, m.seriesCount * kMaxBarLines * m.line);
        const qreal thickness = group / m.seriesCount;
        m_out.bars = QList<QList<QRectF>>(m.seriesCount);
        for (int s = 0; s < m.seriesCount; ++s) {
            for (int i = 0; i < m.categoryCount; ++i) {
                const qreal start = slot * (i + 0.5) - group / 2 + s * thickness;
                const qreal length = m_out.valueLength * value(s, i) / m_out.axis.top();
                m_out.bars[s].append(
                    vertical
                        ? QRectF(plot.left() + start, plot.bottom() - length, thickness, length)
                        : QRectF(plot.left(), plot.top() + start, length, thickness));
            }
        }
    }

    // The end of the longest bar of a category: its top, or its right end.
    qreal tallestEnd(int category) const
    {
        const bool vertical = m_out.orientation == ChartOrientation::Vertical;
        qreal end = vertical ? m_out.plot.bottom() : m_out.plot.left();
        for (const QList<QRectF> &bars : m_out.bars)
            end = vertical ? std::min(end, bars.at(category).top())
                           : std::max(end, bars.at(category).right());
        return end;
    }

    void countHidden(int category)
    {
        if (!m_chart.categories.at(category).label.trimmed().isEmpty())
            ++m_out.hiddenLabels;
    }

    void add(ChartLabel::Kind kind, int index, const QStringList &lines, const QRectF &rect,
             Qt::Alignment alignment, bool elided)
    {
        if (!lines.isEmpty())
            m_out.labels.append(
                {kind, index, lines.join(QLatin1Char('\n')), rect, alignment, elided});
    }

    const Chart &m_chart;
    QPaintDevice *m_device;
    const Measures &m;
    ChartLayout m_out;
};

bool shortened(const ChartLayout &layout)
{
    return layout.hiddenLabels > 0
           || std::any_of(layout.labels.cbegin(), layout.labels.cend(), [](const ChartLabel &l) {
                  return l.elided
                         && (l.kind == ChartLabel::Category || l.kind == ChartLabel::Share);
              });
}

void hatch(QPainter &painter, const QRectF &rect, const QColor &colour, qreal spacing, qreal width)
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(QPen(colour, width));
    for (qreal x = rect.left() - rect.height(); x < rect.right(); x += spacing)
        painter.drawLine(QPointF(x, rect.bottom()), QPointF(x + rect.height(), rect.top()));
    painter.restore();
}

// WCAG relative luminance, to tell light backgrounds from dark ones.
qreal luminance(const QColor &colour)
{
    auto channel = [](qreal c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF())
           + 0.0722 * channel(rgb.blueF());
}

QColor mix(const QColor &a, const QColor &b, qreal share)
{
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    return QColor::fromRgbF(float(x.redF() + (y.redF() - x.redF()) * share),
                            float(x.greenF() + (y.greenF() - x.greenF()) * share),
                            float(x.blueF() + (y.blueF() - x.blueF()) * share));
}

}  // namespace

QString AxisStep::tickText(int index) const
{
    const double value = step * index;
    if (std::abs(value) >= 1e15)
        return QString::number(value, 'g', 15);
    const double scale = std::pow(10.0, decimals);
    return NumberText::fromDouble(std::round(value * scale) / scale);
}

AxisStep niceAxisStep(double maxValue, int maxTicks, bool wholeSteps)
{
    const int budget = std::max(1, maxTicks);
    const double top = boundedMax(maxValue);
    if (!(top > 0))
        return {};
    if (wholeSteps && top <= budget)
        return {1, std::max(1, int(std::ceil(top - kRelativeSlack))), 0};
    const int exponent = int(std::floor(std::log10(top / budget)));
    for (int e = exponent; e <= exponent + 1; ++e) {
        for (int m : {1, 2, 5}) {
            // Divided for negative powers: 2 / 10 is exactly the double nearest 0.2.
            const double step = e >= 0 ? m * std::pow(10.0, e) : m / std::pow(10.0, -e);
            if (!(step > 0) || step * budget < top * (1 - kRelativeSlack))
                continue;
            const int ticks = std::max(1, int(std::ceil(top / step - kRelativeSlack)));
            return {step, ticks, std::max(0, -e)};
        }
    }
    return {std::pow(10.0, exponent + 1), 1, std::max(0, -(exponent + 1))};
}

int ChartLayout::elidedLabels() const
{
    return int(std::count_if(labels.cbegin(), labels.cend(),
                             [](const ChartLabel &l) { return l.elided; }));
}

ChartStyle ChartStyle::forBackground(const QColor &background)
{
    ChartStyle style;
    style.background = background;
    const bool dark = background.isValid() && luminance(background) < 0.3;
    style.text = dark ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x1e, 0x1e, 0x1e);
    style.axis = dark ? QColor(0xc8, 0xc8, 0xc8) : QColor(0x4a, 0x4a, 0x4a);
    style.grid = mix(background.isValid() ? background : QColor(Qt::white), style.text, 0.18);
    // A deep blue and an amber: apart in hue for the eye, apart in lightness for grey paper,
    // and far from the skins' red, gold and mint.
    style.series = dark ? QList<QColor>{QColor(0x3d, 0x7b, 0xd9), QColor(0xff, 0xc8, 0x57)}
                        : QList<QColor>{QColor(0x1f, 0x4e, 0x96), QColor(0xe0, 0x8a, 0x1e)};
    style.font = printFont(9);
    return style;
}

ChartStyle ChartStyle::print()
{
    ChartStyle style = forBackground(Qt::white);
    style.hatchSecond = true;
    return style;
}

QStringList Chart::fitLines(const QString &text, const QFont &font, QPaintDevice *device,
                            qreal width, int maxLines, bool *elided)
{
    if (elided)
        *elided = false;
    const QString whole = text.simplified();
    if (whole.isEmpty() || maxLines < 1)
        return {};
    QTextLayout layout(whole, font, device);
    QTextOption option;
    // Chinese breaks between characters; a long Latin word breaks anywhere.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    qsizetype lastStart = 0;
    qsizetype end = 0;
    while (lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max<qreal>(width, 1));
        lastStart = line.textStart();
        end = line.textStart() + line.textLength();
        lines.append(whole.mid(lastStart, line.textLength()));
        chopSpaces(lines.back());
    }
    layout.endLayout();

    const QFontMetricsF fm = metrics(font, device);
    bool cut = end < whole.size();
    if (cut)
        lines.back() = elide(whole.mid(lastStart), fm, width);
    for (QString &line : lines) {
        // A single character wider than the room.
        if (fm.horizontalAdvance(line) > width) {
            line = elide(line, fm, width);
            cut = true;
        }
    }
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    if (elided)
        *elided = cut;
    return lines;
}

ChartLayout Chart::layout(const QRectF &area, const ChartStyle &style, QPaintDevice *device) const
{
    ChartLayout out;
    out.font = style.font;
    out.titleFont = style.font;
    out.titleFont.setBold(true);
    if (style.font.pointSizeF() > 0)
        out.titleFont.setPointSizeF(style.font.pointSizeF() * kTitleScale);

    const QFontMetricsF fm = metrics(out.font, device);
    const qreal line = fm.lineSpacing();
    const qreal pad = line * 0.4;
    QRectF rest = area.adjusted(pad, pad, -pad, -pad);

    bool cut = false;
    const QStringList titleLines = fitLines(title, out.titleFont, device, rest.width(), 1, &cut);
    if (!titleLines.isEmpty()) {
        const QFontMetricsF tfm = metrics(out.titleFont, device);
        const qreal w = tfm.horizontalAdvance(titleLines.first());
        out.labels.append({ChartLabel::Title, -1, titleLines.first(),
                           QRectF(rest.center().x() - w / 2, rest.top(), w, tfm.lineSpacing()),
                           Qt::AlignHCenter, cut});
        rest.setTop(rest.top() + tfm.lineSpacing() + pad);
    }

    const int seriesCount = int(std::min<qsizetype>(series.size(), 2));
    const bool legend =
        std::any_of(series.cbegin(), series.cbegin() + seriesCount,
                    [](const ChartSeries &s) { return !s.name.trimmed().isEmpty(); });
    if (legend) {
        const qreal swatch = fm.height() * 0.8;
        const qreal gap = 2 * pad;
        const qreal room =
            (rest.width() - (seriesCount - 1) * gap) / seriesCount - swatch - pad / 2;
        QList<QStringList> names;
        QList<bool> elided;
        qreal total = (seriesCount - 1) * gap;
        for (int s = 0; s < seriesCount; ++s) {
            names.append(fitLines(series.at(s).name, out.font, device, room, 1, &cut));
            elided.append(cut);
            total += swatch + pad / 2 + widest(names.back(), fm);
        }
        qreal x = rest.center().x() - total / 2;
        for (int s = 0; s < seriesCount; ++s) {
            out.legendSwatches.append(QRectF(x, rest.top() + (line - swatch) / 2, swatch, swatch));
            x += swatch + pad / 2;
            const qreal w = widest(names.at(s), fm);
            if (!names.at(s).isEmpty())
                out.labels.append({ChartLabel::Legend, s, names.at(s).first(),
                                   QRectF(x, rest.top(), w, line), Qt::AlignLeft, elided.at(s)});
            x += w + gap;
        }
        rest.setTop(rest.top() + line + pad);
    }

    double maxValue = 0;
    bool whole = true;
    for (int s = 0; s < seriesCount; ++s) {
        for (qsizetype i = 0; i < std::min(series.at(s).values.size(), categories.size()); ++i) {
            const double v = boundedMax(series.at(s).values.at(i));
            maxValue = std::max(maxValue, v);
            whole = whole && v == std::floor(v);
        }
    }
    const Measures measures{out.font,
                            fm,
                            line,
                            pad,
                            std::max(1, seriesCount),
                            int(std::max<qsizetype>(categories.size(), 1)),
                            maxValue,
                            whole};
    if (categories.isEmpty() || seriesCount == 0) {
        out.plot = rest;
        out.axis = niceAxisStep(maxValue, 1);
        return out;
    }
    if (orientation == ChartOrientation::Horizontal)
        return Placer(*this, device, measures, out).horizontal(rest);
    ChartLayout vertical = Placer(*this, device, measures, out).vertical(rest);
    if (orientation == ChartOrientation::Vertical || !shortened(vertical))
        return vertical;
    return Placer(*this, device, measures, out).horizontal(rest);
}

void Chart::paint(QPainter &painter, const QRectF &area, const ChartStyle &style) const
{
    const ChartLayout laidOut = layout(area, style, painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (style.background.isValid() && style.background.alpha() > 0)
        painter.fillRect(area, style.background);

    const QFontMetricsF fm(laidOut.font, painter.device());
    const qreal thin = std::max<qreal>(1, fm.lineSpacing() / 16);
    const bool vertical = laidOut.orientation == ChartOrientation::Vertical;
    const QRectF &plot = laidOut.plot;
    const QPointF origin = plot.bottomLeft();
    const QPointF valueEnd = vertical ? origin - QPointF(0, laidOut.valueLength)
                                      : origin + QPointF(laidOut.valueLength, 0);

    if (!laidOut.bars.isEmpty()) {
        painter.setPen(QPen(style.grid, thin));
        for (int i = 1; i <= laidOut.axis.ticks; ++i) {
            const qreal at = laidOut.valueLength * i / laidOut.axis.ticks;
            if (vertical)
                painter.drawLine(QPointF(plot.left(), origin.y() - at),
                                 QPointF(plot.right(), origin.y() - at));
            else
                painter.drawLine(QPointF(plot.left() + at, plot.top()),
                                 QPointF(plot.left() + at, plot.bottom()));
        }
    }

    auto fillBar = [&](const QRectF &rect, int s) {
        if (rect.width() <= 0 || rect.height() <= 0)
            return;
        const QColor colour = style.series.value(s, s == 0 ? Qt::darkBlue : Qt::darkYellow);
        painter.fillRect(rect, colour);
        if (s == 1 && style.hatchSecond)
            hatch(painter, rect, style.axis, fm.lineSpacing() / 3, thin);
        painter.setPen(QPen(style.axis, thin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    };
    for (int s = 0; s < laidOut.bars.size(); ++s) {
        for (const QRectF &bar : laidOut.bars.at(s))
            fillBar(bar, s);
    }
    for (int s = 0; s < laidOut.legendSwatches.size(); ++s)
        fillBar(laidOut.legendSwatches.at(s), s);

    if (!laidOut.bars.isEmpty()) {
        painter.setPen(QPen(style.axis, thin));
        painter.drawLine(origin, valueEnd);
        painter.drawLine(vertical ? QLineF(origin, plot.bottomRight())
                                  : QLineF(origin, plot.topLeft()));
    }

    painter.setPen(style.text);
    for (const ChartLabel &label : laidOut.labels) {
        const QFont &font = label.kind == ChartLabel::Title ? laidOut.titleFont : laidOut.font;
        painter.setFont(font);
        const qreal lineHeight = QFontMetricsF(font, painter.device()).lineSpacing();
        const QStringList lines = label.text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRectF rect(label.rect.left(), label.rect.top() + i * lineHeight,
                              label.rect.width(), lineHeight);
            painter.drawText(rect,
                             (label.alignment | Qt::AlignTop).toInt() | Qt::TextSingleLine
                                 | Qt::TextDontClip,
                             lines.at(i));
        }
    }
    painter.restore();
}

}  // namespace lendora
