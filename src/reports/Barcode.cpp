#include "reports/Barcode.h"

#include <QPainter>
#include <memory>
#include <zint.h>

namespace lendora {

namespace {
// ECI 26: the QR code says its bytes are UTF-8, so a scanner reads Chinese as Chinese.
constexpr int kUtf8Eci = 26;
// The quiet zones libzint adds, in modules on either side.
constexpr int kCode128Quiet = 10;
constexpr int kQrQuiet = 4;

struct SymbolDeleter {
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};
}  // namespace

Barcode::Kind Barcode::kindFor(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return Kind::QrCode;
    }
    return Kind::Code128;
}

std::optional<Barcode> Barcode::make(const QString &text, QString *error)
{
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        if (error)
            *error = QStringLiteral("out of memory");
        return std::nullopt;
    }
    Barcode barcode;
    barcode.kind = kindFor(text);
    barcode.text = text;
    symbol->symbology = barcode.kind == Kind::QrCode ? BARCODE_QRCODE : BARCODE_CODE128;
    symbol->input_mode = UNICODE_MODE;
    if (barcode.kind == Kind::QrCode)
        symbol->eci = kUtf8Eci;
    symbol->show_hrt = 0;  // the number is printed under it in the label's own font
    symbol->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray utf8 = text.toUtf8();
    int result = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(utf8.data()),
                                 int(utf8.size()));
    if (result < ZINT_ERROR)
        result = ZBarcode_Buffer_Vector(symbol.get(), 0);
    if (result >= ZINT_ERROR || !symbol->vector) {
        if (error)
            *error = QString::fromUtf8(symbol->errtxt);
        return std::nullopt;
    }
    const zint_vector *vector = symbol->vector;
    barcode.size = QSizeF(vector->width, vector->height);
    barcode.modulesAcross =
        symbol->width + 2 * (barcode.kind == Kind::QrCode ? kQrQuiet : kCode128Quiet);
    for (const zint_vector_rect *rect = vector->rectangles; rect; rect = rect->next)
        barcode.bars << QRectF(rect->x, rect->y, rect->width, rect->height);
    return barcode;
}

void Barcode::paint(QPainter &painter, const QRectF &target) const
{
    if (bars.isEmpty() || size.isEmpty() || target.isEmpty())
        return;
    QRectF area = target;
    if (kind == Kind::QrCode) {
        const qreal side = std::min(target.width(), target.height());
        area = QRectF(0, 0, side, side);
        area.moveCenter(target.center());
    }
    const qreal sx = area.width() / size.width();
    const qreal sy = area.height() / size.height();
    QList<QRectF> scaled;
    scaled.reserve(bars.size());
    for (const QRectF &bar : bars)
        scaled << QRectF(area.x() + bar.x() * sx, area.y() + bar.y() * sy, bar.width() * sx,
                         bar.height() * sy);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(scaled.constData(), int(scaled.size()));
    painter.restore();
}

}  // namespace lendora
