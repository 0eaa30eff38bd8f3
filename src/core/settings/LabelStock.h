#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace lendora {

// The paper labels and cards are printed on, in millimetres: a sheet of rows and columns of
// labels, or a roll that takes one label a page.
struct LabelStock {
    QString id;  // a4-3x8, roll-50x30, card, ...; "custom" for a sheet the clerk measured
    QSizeF page;
    int rows = 1;
    int columns = 1;
    QSizeF label;
    QPointF origin;  // the first label's top left: the left and top margins
    QSizeF gap;      // between two columns (width) and two rows (height)
    bool roll = false;

    int perPage() const { return rows * columns; }
    // The label at `index` on its page, counted row by row from the top left.
    QRectF cell(int index) const;

    // Book labels: the A4 sheets, then the rolls of a label printer.
    static QList<LabelStock> labelStocks();
    // Reader cards: one a page for a card printer, or ten to an A4 sheet.
    static QList<LabelStock> cardStocks();
    static std::optional<LabelStock> find(const QList<LabelStock> &stocks, const QString &id);
    static LabelStock custom(QSizeF page, int rows, int columns, QSizeF label, QPointF origin,
                             QSizeF gap);

    // Why the labels would not fit on the page, as the clerk is told; empty when they fit.
    QString problem() const;

    // The form kept in setting.ini: the id, or a custom sheet's measures after it.
    QString toText() const;
    static std::optional<LabelStock> fromText(const QString &text);

    bool operator==(const LabelStock &) const = default;
};

}  // namespace lendora
