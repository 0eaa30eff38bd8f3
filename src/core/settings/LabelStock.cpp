#include "core/settings/LabelStock.h"

#include "base/NumberText.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

namespace lendora {

namespace {
const char *const kNotPositive =
    QT_TRANSLATE_NOOP("lendora::LabelStock", "纸张和标签的尺寸必须大于 0,行数和列数至少为 1。");
const char *const kTooWide =
    QT_TRANSLATE_NOOP("lendora::LabelStock", "%1 列标签连同左边距和间距比纸张还宽。");
const char *const kTooHigh =
    QT_TRANSLATE_NOOP("lendora::LabelStock", "%1 行标签连同上边距和间距比纸张还高。");

constexpr int kMostRowsOrColumns = 40;
constexpr qreal kLargestPageMm = 1000;
constexpr qreal kSlackMm = 0.05;  // measures typed to a tenth of a millimetre

const QString kCustom = QStringLiteral("custom");
const QSizeF kA4(210, 297);

LabelStock sheet(const char *id, int rows, int columns, QSizeF label, QPointF origin, QSizeF gap)
{
    return {QString::fromLatin1(id), kA4, rows, columns, label, origin, gap, false};
}

LabelStock rollOf(const char *id, QSizeF label)
{
    return {QString::fromLatin1(id), label, 1, 1, label, QPointF(0, 0), QSizeF(0, 0), true};
}

QString pair(qreal a, qreal b, char separator)
{
    return NumberText::fromDouble(a) + QLatin1Char(separator) + NumberText::fromDouble(b);
}

std::optional<QPair<qreal, qreal>> readPair(const QString &text, char separator)
{
    const QStringList parts = text.split(QLatin1Char(separator));
    if (parts.size() != 2)
        return std::nullopt;
    bool firstOk = false;
    bool secondOk = false;
    const qreal first = parts.at(0).toDouble(&firstOk);
    const qreal second = parts.at(1).toDouble(&secondOk);
    if (!firstOk || !secondOk || !std::isfinite(first) || !std::isfinite(second))
        return std::nullopt;
    return QPair<qreal, qreal>(first, second);
}
}  // namespace

QRectF LabelStock::cell(int index) const
{
    const int row = index / std::max(columns, 1);
    const int column = index % std::max(columns, 1);
    return QRectF(origin.x() + column * (label.width() + gap.width()),
                  origin.y() + row * (label.height() + gap.height()), label.width(),
                  label.height());
}

QList<LabelStock> LabelStock::labelStocks()
{
    return {
        sheet("a4-3x8", 8, 3, {70, 37}, {0, 0.5}, {0, 0}),
        sheet("a4-4x10", 10, 4, {48.5, 25.4}, {8, 21.5}, {0, 0}),
        sheet("a4-2x7", 7, 2, {99.1, 38.1}, {4.65, 15.15}, {2.5, 0}),
        rollOf("roll-50x30", {50, 30}),
        rollOf("roll-40x30", {40, 30}),
    };
}

QList<LabelStock> LabelStock::cardStocks()
{
    return {
        rollOf("card", {85.6, 54}),
        // Cut apart along the frames printed around them.
        sheet("a4-2x5", 5, 2, {85.6, 54}, {14.4, 9.5}, {10, 2}),
    };
}

std::optional<LabelStock> LabelStock::find(const QList<LabelStock> &stocks, const QString &id)
{
    for (const LabelStock &stock : stocks) {
        if (stock.id == id)
            return stock;
    }
    return std::nullopt;
}

LabelStock LabelStock::custom(QSizeF page, int rows, int columns, QSizeF label, QPointF origin,
                              QSizeF gap)
{
    return {kCustom, page, rows, columns, label, origin, gap, false};
}

QString LabelStock::problem() const
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("lendora::LabelStock", text);
    };
    if (!(page.width() > 0 && page.height() > 0 && label.width() > 0 && label.height() > 0)
        || page.width() > kLargestPageMm || page.height() > kLargestPageMm || rows < 1
        || columns < 1 || rows > kMostRowsOrColumns || columns > kMostRowsOrColumns
        || origin.x() < 0 || origin.y() < 0 || gap.width() < 0 || gap.height() < 0)
        return tr(kNotPositive);
    const QRectF last = cell(perPage() - 1);
    if (last.right() > page.width() + kSlackMm)
        return tr(kTooWide).arg(columns);
    if (last.bottom() > page.height() + kSlackMm)
        return tr(kTooHigh).arg(rows);
    return {};
}

QString LabelStock::toText() const
{
    if (id != kCustom)
        return id;
    return QStringList{kCustom,
                       pair(page.width(), page.height(), 'x'),
                       QString::number(rows) + QLatin1Char('x') + QString::number(columns),
                       pair(label.width(), label.height(), 'x'),
                       pair(origin.x(), origin.y(), ','),
                       pair(gap.width(), gap.height(), ',')}
        .join(QLatin1Char(' '));
}

std::optional<LabelStock> LabelStock::fromText(const QString &text)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() == 1)
        return find(labelStocks(), parts.constFirst());
    if (parts.size() != 6 || parts.constFirst() != kCustom)
        return std::nullopt;
    const auto page = readPair(parts.at(1), 'x');
    const auto grid = readPair(parts.at(2), 'x');
    const auto label = readPair(parts.at(3), 'x');
    const auto origin = readPair(parts.at(4), ',');
    const auto gap = readPair(parts.at(5), ',');
    if (!page || !grid || !label || !origin || !gap || grid->first != std::floor(grid->first)
        || grid->second != std::floor(grid->second))
        return std::nullopt;
    const LabelStock stock = custom({page->first, page->second}, int(grid->first),
                                    int(grid->second), {label->first, label->second},
                                    {origin->first, origin->second}, {gap->first, gap->second});
    if (!stock.problem().isEmpty())
        return std::nullopt;
    return stock;
}

}  // namespace lendora
