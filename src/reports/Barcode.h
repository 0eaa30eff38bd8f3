#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

class QPainter;

namespace lendora {

// A barcode as libzint makes it: the filled rectangles of its vector output, in the symbol's
// own units, quiet zones included, ready for any painter.
struct Barcode {
    enum class Kind {
        Code128,  // a number of printable ASCII
        QrCode,   // any other number (Chinese, say), as UTF-8
    };

    Kind kind = Kind::Code128;
    QString text;
    QSizeF size;            // the whole symbol, quiet zones included
    int modulesAcross = 0;  // the narrowest bar's widths across `size`
    QList<QRectF> bars;

    static Kind kindFor(const QString &text);
    // nullopt, with libzint's reason in `error`, when the text cannot be encoded (empty, or
    // too long for the symbology).
    static std::optional<Barcode> make(const QString &text, QString *error = nullptr);

    // Draws it into `target`: a linear code over the whole of it, a QR code as the largest
    // square in its middle.
    void paint(QPainter &painter, const QRectF &target) const;

    bool operator==(const Barcode &) const = default;
};

}  // namespace lendora
