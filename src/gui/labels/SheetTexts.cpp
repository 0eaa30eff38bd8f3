#include "gui/labels/SheetTexts.h"

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QSpinBox>

namespace lendora {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::SheetTexts", text);
}

const struct {
    const char *id;
    const char *name;
} kStocks[] = {
    {"a4-3x8", QT_TRANSLATE_NOOP("lendora::SheetTexts", "A4 标签纸 3×8(70×37 毫米)")},
    {"a4-4x10", QT_TRANSLATE_NOOP("lendora::SheetTexts", "A4 标签纸 4×10(48.5×25.4 毫米)")},
    {"a4-2x7", QT_TRANSLATE_NOOP("lendora::SheetTexts", "A4 标签纸 2×7(99.1×38.1 毫米)")},
    {"roll-50x30", QT_TRANSLATE_NOOP("lendora::SheetTexts", "标签打印机 50×30 毫米")},
    {"roll-40x30", QT_TRANSLATE_NOOP("lendora::SheetTexts", "标签打印机 40×30 毫米")},
    {"custom", QT_TRANSLATE_NOOP("lendora::SheetTexts", "自定义标签纸")},
    {"card", QT_TRANSLATE_NOOP("lendora::SheetTexts", "证卡打印机(85.6×54 毫米,每页一张)")},
    {"a4-2x5", QT_TRANSLATE_NOOP("lendora::SheetTexts", "A4 纸 2×5(每页 10 张,沿边框裁开)")},
};
const char *const kMore = QT_TRANSLATE_NOOP("lendora::SheetTexts", "%1 等 %2 个");
const char *const kMillimetres = QT_TRANSLATE_NOOP("lendora::SheetTexts", " 毫米");

constexpr int kNamedAtMost = 10;
constexpr double kLargestMm = 1000;
constexpr int kMostRowsOrColumns = 40;
}  // namespace

QString stockName(const QString &id)
{
    for (const auto &stock : kStocks) {
        if (id == QLatin1String(stock.id))
            return tr(stock.name);
    }
    return id;
}

QString numbersSaid(const QStringList &numbers)
{
    const QString separator = QStringLiteral("、");
    if (numbers.size() <= kNamedAtMost)
        return numbers.join(separator);
    return tr(kMore).arg(numbers.mid(0, kNamedAtMost).join(separator)).arg(numbers.size());
}

void setUpMeasures(const QList<QDoubleSpinBox *> &millimetres, const QList<QSpinBox *> &counts)
{
    for (QDoubleSpinBox *box : millimetres) {
        box->setDecimals(2);
        box->setRange(0, kLargestMm);
        box->setSingleStep(0.5);
        box->setSuffix(tr(kMillimetres));
    }
    for (QSpinBox *box : counts)
        box->setRange(1, kMostRowsOrColumns);
}

}  // namespace lendora
