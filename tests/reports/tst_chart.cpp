#include "PdfText.h"
#include "reports/Chart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace lendora;

Q_DECLARE_METATYPE(lendora::Chart)
Q_DECLARE_METATYPE(lendora::ChartOrientation)
Q_DECLARE_METATYPE(lendora::ChartStyle)

namespace {

const QStringList &classNames()
{
    static const QStringList names{
        QStringLiteral("马克思主义、列宁主义、毛泽东思想、邓小平理论"),
        QStringLiteral("哲学、宗教"),
        QStringLiteral("社会科学总论"),
        QStringLiteral("政治、法律"),
        QStringLiteral("军事"),
        QStringLiteral("经济"),
        QStringLiteral("文化、科学、教育、体育"),
        QStringLiteral("语言、文字"),
        QStringLiteral("文学"),
        QStringLiteral("艺术"),
        QStringLiteral("历史、地理"),
        QStringLiteral("自然科学总论"),
        QStringLiteral("数理科学和化学"),
        QStringLiteral("天文学、地球科学"),
        QStringLiteral("生物科学"),
        QStringLiteral("医药、卫生"),
        QStringLiteral("农业科学"),
        QStringLiteral("工业技术"),
        QStringLiteral("交通运输"),
        QStringLiteral("航空、航天"),
        QStringLiteral("环境科学、安全科学"),
        QStringLiteral("综合性图书"),
    };
    return names;
}

Chart months(bool zero)
{
    Chart chart;
    chart.title = QStringLiteral("2026 年每月借出与归还");
    ChartSeries loans{QStringLiteral("借出"), {}};
    ChartSeries returns{QStringLiteral("归还"), {}};
    for (int m = 1; m <= 12; ++m) {
        chart.categories.append({QStringLiteral("%1月").arg(m), {}});
        loans.values.append(zero ? 0 : 40 + 13 * m % 37);
        returns.values.append(zero ? 0 : 35 + 11 * m % 29);
    }
    chart.series = {loans, returns};
    return chart;
}

Chart classes(ChartOrientation orientation)
{
    Chart chart;
    chart.title = QStringLiteral("各类图书借出册数");
    chart.orientation = orientation;
    ChartSeries loans{{}, {}};
    for (qsizetype i = 0; i < classNames().size(); ++i) {
        const int count = int(3 + (i * 7) % 40);
        chart.categories.append(
            {classNames().at(i), QStringLiteral("%1%").arg(count / 4.0, 0, 'f', 1)});
        loans.values.append(count);
    }
    chart.series = {loans};
    return chart;
}

Chart books()
{
    Chart chart;
    chart.title = QStringLiteral("借阅最多的二十种图书");
    ChartSeries loans{QStringLiteral("借阅次数"), {}};
    for (int i = 1; i <= 20; ++i) {
        chart.categories.append(
            {QStringLiteral("《中国古代建筑与园林艺术研究丛书·第%1卷：宋元明清时期的营造法式》")
                 .arg(i),
             {}});
        loans.values.append(60 - 2 * i);
    }
    chart.series = {loans};
    return chart;
}

Chart single()
{
    Chart chart;
    chart.categories = {{QStringLiteral("文学"), QStringLiteral("100.0%")}};
    chart.series = {{{}, {2.35}}};
    return chart;
}

Chart rareCharacters()
{
    Chart chart;
    chart.orientation = ChartOrientation::Vertical;
    // Characters outside the Basic Multilingual Plane: two UTF-16 units each.
    for (int i = 0; i < 8; ++i)
        chart.categories.append({QStringLiteral("𠀀𠀁𠀂𠀃𠀄𠀅𠀆𠀇𠀈𠀉𠀊𠀋𠀌𠀍"), {}});
    chart.series = {{{}, {1, 2, 3, 4, 5, 6, 7, 8}}};
    return chart;
}

QString withoutBlanks(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

bool splitsSurrogate(const QString &line)
{
    return !line.isEmpty() && (line.front().isLowSurrogate() || line.back().isHighSurrogate());
}

// WCAG contrast ratio.
qreal luminance(const QColor &c)
{
    auto channel = [](qreal v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

qreal contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

const QColor kTypeStyle(0xf3, 0xea, 0xd7);
const QColor kLightHearted(0xef, 0xfa, 0xf5);

}  // namespace

class ChartTest : public QObject {
    Q_OBJECT

private slots:
    void axisStep_data();
    void axisStep();
    void fitLines_data();
    void fitLines();
    void labelsFit_data();
    void labelsFit();
    void paletteStaysDistinct_data();
    void paletteStaysDistinct();
    void smokeImage_data();
    void smokeImage();
    void smokePdf();
};

void ChartTest::axisStep_data()
{
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<int>("maxTicks");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("topText");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("zero") << 0.0 << 5 << false << 1.0 << 1 << "1";
    QTest::newRow("negative") << -3.0 << 5 << false << 1.0 << 1 << "1";
    QTest::newRow("not a number") << nan << 5 << false << 1.0 << 1 << "1";
    QTest::newRow("infinite") << inf << 5 << false << 1.0 << 1 << "1";
    QTest::newRow("exactly a hundred") << 100.0 << 5 << false << 20.0 << 5 << "100";
    QTest::newRow("just over a hundred") << 101.0 << 5 << false << 50.0 << 3 << "150";
    QTest::newRow("twelve on six ticks") << 12.0 << 6 << false << 2.0 << 6 << "12";
    QTest::newRow("one tick allowed") << 7.0 << 1 << false << 10.0 << 1 << "10";
    QTest::newRow("no tick allowed") << 7.0 << 0 << false << 10.0 << 1 << "10";
    QTest::newRow("fines 0.3 yuan") << 0.3 << 5 << false << 0.1 << 3 << "0.3";
    QTest::newRow("fines 2.35 yuan") << 2.35 << 5 << false << 0.5 << 5 << "2.5";
    QTest::newRow("fines 0.15 yuan") << 0.15 << 3 << false << 0.05 << 3 << "0.15";
    QTest::newRow("one loan, fractions") << 1.0 << 5 << false << 0.2 << 5 << "1";
    QTest::newRow("one loan, counts") << 1.0 << 5 << true << 1.0 << 1 << "1";
    QTest::newRow("three loans, counts") << 3.0 << 10 << true << 1.0 << 3 << "3";
    QTest::newRow("counts beyond the budget") << 37.0 << 5 << true << 10.0 << 4 << "40";
    QTest::newRow("tiny") << 3e-7 << 4 << false << 1e-7 << 3 << "0.0000003";
    QTest::newRow("huge") << 7.3e12 << 5 << false << 2e12 << 4 << "8000000000000";
    QTest::newRow("largest double")
        << std::numeric_limits<double>::max() << 5 << false << 2e299 << 5 << "1e+300";
}

void ChartTest::axisStep()
{
    QFETCH(double, maxValue);
    QFETCH(int, maxTicks);
    QFETCH(bool, whole);
    QFETCH(double, step);
    QFETCH(int, ticks);
    QFETCH(QString, topText);

    const AxisStep axis = niceAxisStep(maxValue, maxTicks, whole);
    QCOMPARE(axis.step, step);
    QCOMPARE(axis.ticks, ticks);
    QCOMPARE(axis.tickText(axis.ticks), topText);
    QVERIFY(std::isfinite(axis.top()));
    QVERIFY(axis.ticks <= std::max(1, maxTicks));
    if (std::isfinite(maxValue))
        QVERIFY(axis.top() >= std::min(maxValue, 1e300) * (1 - 1e-12));
    // Every tick a round value: no 0.30000000000000004 on the axis.
    for (int i = 0; i <= axis.ticks; ++i)
        QVERIFY2(axis.tickText(i).size() <= 16, qPrintable(axis.tickText(i)));
}

void ChartTest::fitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("chars");  // the width, in widths of "中"
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QStringList>("expected");  // empty: only the general checks
    QTest::addColumn<bool>("elided");

    const QString marx = QStringLiteral("马克思主义列宁主义毛泽东思想");
    QTest::newRow("fits whole") << QStringLiteral("文学") << 4.0 << 2 << QStringList{"文学"}
                                << false;
    QTest::newRow("blanks collapse")
        << QStringLiteral("  红楼梦 \n 上册 ") << 10.0 << 2 << QStringList{"红楼梦 上册"} << false;
    QTest::newRow("wraps onto two lines")
        << QStringLiteral("马克思主义列宁主义") << 5.5 << 2
        << QStringList{QStringLiteral("马克思主义"), QStringLiteral("列宁主义")} << false;
    QTest::newRow("too long for two lines") << marx << 5.5 << 2 << QStringList() << true;
    QTest::newRow("too long for one line") << marx << 5.5 << 1 << QStringList() << true;
    QTest::newRow("rare characters")
        << QStringLiteral("𠀀𠀁𠀂𠀃𠀄𠀅") << 3.5 << 1 << QStringList() << true;
    // Every width between whole characters: a cut must never fall inside a surrogate pair.
    for (int quarter = 5; quarter <= 27; ++quarter)
        QTest::addRow("rare characters, %d/4 wide", quarter)
            << QStringLiteral("𠀀𠀁𠀂𠀃𠀄𠀅𠀆") << quarter / 4.0 << 1 << QStringList() << true;
    QTest::newRow("no room even for the dots") << marx << 0.3 << 2 << QStringList() << true;
    QTest::newRow("empty") << QString() << 5.0 << 2 << QStringList() << false;
}

void ChartTest::fitLines()
{
    QFETCH(QString, text);
    QFETCH(qreal, chars);
    QFETCH(int, maxLines);
    QFETCH(QStringList, expected);
    QFETCH(bool, elided);

    QImage image(10, 10, QImage::Format_RGB32);
    const QFont font = ChartStyle::print().font;
    const QFontMetricsF fm(font, &image);
    const qreal width = chars * fm.horizontalAdvance(QStringLiteral("中"));
    bool cut = !elided;
    const QStringList lines = Chart::fitLines(text, font, &image, width, maxLines, &cut);
    QCOMPARE(cut, elided);
    if (!expected.isEmpty())
        QCOMPARE(lines, expected);
    QVERIFY(lines.size() <= maxLines);
    for (const QString &line : lines) {
        QVERIFY2(fm.horizontalAdvance(line) <= width, qPrintable(line));
        QVERIFY2(!splitsSurrogate(line), qPrintable(line));
    }
    QString joined = withoutBlanks(lines.join(QString()));
    if (elided) {
        QVERIFY(lines.isEmpty() || joined.endsWith(QStringLiteral("…")));
        joined.chop(1);
        QVERIFY2(withoutBlanks(text).startsWith(joined), qPrintable(joined));
    } else {
        QCOMPARE(joined, withoutBlanks(text));
    }
}

void ChartTest::labelsFit_data()
{
    QTest::addColumn<Chart>("chart");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("pdf");  // measured on a PDF page instead of a screen image
    QTest::addColumn<ChartOrientation>("orientation");

    using O = ChartOrientation;
    QTest::newRow("12 months") << months(false) << QSize(640, 360) << false << O::Vertical;
    QTest::newRow("12 months, small") << months(false) << QSize(300, 200) << false << O::Horizontal;
    QTest::newRow("22 classes") << classes(O::Automatic) << QSize(640, 480) << false
                                << O::Horizontal;
    QTest::newRow("22 classes, short")
        << classes(O::Automatic) << QSize(640, 240) << false << O::Horizontal;
    QTest::newRow("22 classes, columns asked for")
        << classes(O::Vertical) << QSize(640, 480) << false << O::Vertical;
    QTest::newRow("22 classes, narrow columns asked for")
        << classes(O::Vertical) << QSize(400, 300) << false << O::Vertical;
    QTest::newRow("22 classes on paper")
        << classes(O::Automatic) << QSize() << true << O::Horizontal;
    QTest::newRow("20 books") << books() << QSize(800, 600) << false << O::Horizontal;
    QTest::newRow("one category") << single() << QSize(320, 240) << false << O::Vertical;
    QTest::newRow("zero values") << months(true) << QSize(640, 360) << false << O::Vertical;
    QTest::newRow("rare characters") << rareCharacters() << QSize(400, 300) << false << O::Vertical;
}

void ChartTest::labelsFit()
{
    QFETCH(Chart, chart);
    QFETCH(QSize, size);
    QFETCH(bool, pdf);
    QFETCH(ChartOrientation, orientation);

    QImage image(size.isValid() ? size : QSize(1, 1), QImage::Format_RGB32);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPaintDevice *device = pdf ? static_cast<QPaintDevice *>(&writer) : &image;
    const QRectF area(0, 0, device->width(), device->height());
    const ChartLayout layout = chart.layout(
        area, pdf ? ChartStyle::print() : ChartStyle::forBackground(Qt::white), device);

    QCOMPARE(layout.orientation, orientation);
    const qreal slack = 0.5;
    const QRectF inside = area.adjusted(-slack, -slack, slack, slack);
    int categoryLabels = 0;
    for (qsizetype i = 0; i < layout.labels.size(); ++i) {
        const ChartLabel &label = layout.labels.at(i);
        const QString name =
            QStringLiteral("%1 #%2 \"%3\"").arg(label.kind).arg(label.index).arg(label.text);
        QVERIFY2(inside.contains(label.rect),
                 qPrintable(name + QStringLiteral(" leaves the area")));
        for (qsizetype j = i + 1; j < layout.labels.size(); ++j)
            QVERIFY2(!label.rect.intersects(layout.labels.at(j).rect),
                     qPrintable(name + QStringLiteral(" overlaps ") + layout.labels.at(j).text));
        if (label.kind == ChartLabel::Category || label.kind == ChartLabel::Tick)
            QVERIFY2(!label.rect.intersects(layout.plot), qPrintable(name));
        if (label.kind == ChartLabel::Share) {
            for (const QList<QRectF> &bars : layout.bars) {
                for (const QRectF &bar : bars)
                    QVERIFY2(!label.rect.intersects(bar), qPrintable(name));
            }
        }
        const QStringList lines = label.text.split(QLatin1Char('\n'));
        QVERIFY2(lines.size() <= 2, qPrintable(name));
        for (const QString &line : lines)
            QVERIFY2(!splitsSurrogate(line), qPrintable(name));
        if (label.kind != ChartLabel::Category)
            continue;
        ++categoryLabels;
        QString shown = withoutBlanks(label.text);
        const QString whole = withoutBlanks(chart.categories.at(label.index).label);
        QCOMPARE(label.elided, shown.endsWith(QStringLiteral("…")));
        if (label.elided)
            shown.chop(1);
        QVERIFY2(label.elided ? whole.startsWith(shown) : whole == shown, qPrintable(name));
    }
    QCOMPARE(qsizetype(categoryLabels + layout.hiddenLabels), chart.categories.size());

    QCOMPARE(layout.bars.size(), chart.series.size());
    for (qsizetype s = 0; s < layout.bars.size(); ++s) {
        QCOMPARE(layout.bars.at(s).size(), chart.categories.size());
        for (qsizetype i = 0; i < chart.categories.size(); ++i) {
            const QRectF bar = layout.bars.at(s).at(i);
            const QRectF plot = layout.plot.adjusted(-slack, -slack, slack, slack);
            QVERIFY(plot.contains(bar.topLeft()) && plot.contains(bar.bottomRight()));
            const double value = chart.series.at(s).values.at(i);
            const qreal length =
                orientation == ChartOrientation::Vertical ? bar.height() : bar.width();
            QVERIFY(qAbs(length - layout.valueLength * value / layout.axis.top()) < slack);
        }
    }
}

void ChartTest::paletteStaysDistinct_data()
{
    QTest::addColumn<ChartStyle>("style");
    QTest::newRow("system look") << ChartStyle::forBackground(QColor(0xef, 0xef, 0xef));
    QTest::newRow("white window") << ChartStyle::forBackground(Qt::white);
    QTest::newRow("type-style skin") << ChartStyle::forBackground(kTypeStyle);
    QTest::newRow("light-hearted skin") << ChartStyle::forBackground(kLightHearted);
    QTest::newRow("dark window") << ChartStyle::forBackground(QColor(0x2b, 0x2b, 0x2b));
    QTest::newRow("print") << ChartStyle::print();
}

void ChartTest::paletteStaysDistinct()
{
    QFETCH(ChartStyle, style);
    QCOMPARE(style.series.size(), qsizetype(2));
    const QColor first = style.series.at(0);
    const QColor second = style.series.at(1);
    QVERIFY(contrast(style.text, style.background) >= 7);
    QVERIFY(contrast(first, style.background) >= 2);
    QVERIFY(contrast(second, style.background) >= 2);
    QVERIFY(contrast(first, second) >= 2.5);
    // A black-and-white printer keeps only lightness.
    QVERIFY(qAbs(qGray(first.rgb()) - qGray(second.rgb())) >= 60);
    QVERIFY(contrast(style.grid, style.background) > 1.1);
    QVERIFY(contrast(style.grid, style.background) < contrast(style.text, style.background));
}

void ChartTest::smokeImage_data()
{
    QTest::addColumn<Chart>("chart");
    QTest::newRow("columns") << months(false);
    QTest::newRow("bars") << classes(ChartOrientation::Horizontal);
}

void ChartTest::smokeImage()
{
    QFETCH(Chart, chart);
    const ChartStyle style = ChartStyle::forBackground(kTypeStyle);
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRectF area(20, 10, 600, 460);
    {
        QPainter painter(&image);
        chart.paint(painter, area, style);
    }
    const ChartLayout layout = chart.layout(area, style, &image);
    QCOMPARE(image.pixelColor(area.topLeft().toPoint() + QPoint(1, 1)), style.background);
    for (qsizetype s = 0; s < layout.bars.size(); ++s) {
        for (const QRectF &bar : layout.bars.at(s))
            QCOMPARE(image.pixelColor(bar.center().toPoint()), style.series.at(s));
    }
    for (const ChartLabel &label : layout.labels) {
        bool inked = false;
        const QRect rect = label.rect.toAlignedRect() & image.rect();
        for (int y = rect.top(); y <= rect.bottom() && !inked; ++y) {
            for (int x = rect.left(); x <= rect.right() && !inked; ++x)
                inked = image.pixelColor(x, y) != style.background;
        }
        QVERIFY2(inked, qPrintable(label.text));
    }
}

void ChartTest::smokePdf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("charts.pdf"));
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        const QRectF half(0, 0, writer.width(), writer.height() / 2.0);
        months(false).paint(painter, half, ChartStyle::print());
        classes(ChartOrientation::Automatic)
            .paint(painter, half.translated(0, half.height()), ChartStyle::print());
    }
    const QString text = testkit::pdfText(path);
    QVERIFY2(text.contains(QStringLiteral("2026 年每月借出与归还")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("各类图书借出册数")));
    QVERIFY(text.contains(QStringLiteral("12月")));
    QVERIFY(text.contains(QStringLiteral("社会科学总论")));
    QVERIFY(text.contains(QStringLiteral("借出")));
}

int runChartTest(int argc, char *argv[])
{
    ChartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chart.moc"
