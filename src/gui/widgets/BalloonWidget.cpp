#include "gui/widgets/BalloonWidget.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

namespace lendora {

namespace {
constexpr int kMargin = 8;
constexpr int kStem = 12;     // height of the stem below or above the body
constexpr int kStemHalf = 8;  // half its width where it meets the body
constexpr int kRadius = 8;
constexpr int kIconSize = 16;
constexpr int kGap = 6;
constexpr int kMaxTextWidth = 300;
}  // namespace

BalloonWidget::BalloonWidget(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                         | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("balloonTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void BalloonWidget::setContent(const QString &title, int icon, const QString &text)
{
    m_title = title;
    m_icon = icon;
    m_text = text;
    updateGeometry();
    update();
}

void BalloonWidget::setColours(const QColor &back, const QColor &fore)
{
    m_back = back;
    m_fore = fore;
    update();
}

void BalloonWidget::setBalloonShape(bool balloon)
{
    m_balloon = balloon;
    update();
}

int BalloonWidget::shownIcon() const
{
    if (m_title.isEmpty() || m_icon < InformationIcon || m_icon > ErrorIcon)
        return NoIcon;
    return m_icon;
}

QColor BalloonWidget::backColour() const
{
    return m_back.isValid() ? m_back : QToolTip::palette().color(QPalette::ToolTipBase);
}

QColor BalloonWidget::foreColour() const
{
    return m_fore.isValid() ? m_fore : QToolTip::palette().color(QPalette::ToolTipText);
}

QRect BalloonWidget::titleRect() const
{
    if (m_title.isEmpty())
        return {};
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const int iconWidth = shownIcon() != NoIcon ? kIconSize + kGap : 0;
    const int height = std::max(fm.height(), shownIcon() != NoIcon ? kIconSize : 0);
    return QRect(kMargin, kMargin, iconWidth + fm.horizontalAdvance(m_title), height);
}

QRect BalloonWidget::textRect() const
{
    const QRect title = titleRect();
    const int top = title.isNull() ? kMargin : title.bottom() + 1 + kGap;
    const QRect bounds =
        fontMetrics().boundingRect(QRect(0, 0, kMaxTextWidth, 10000), Qt::TextWordWrap, m_text);
    return QRect(kMargin, top, bounds.width(), bounds.height());
}

QSize BalloonWidget::bodySize() const
{
    const QRect title = titleRect();
    const QRect text = textRect();
    const int width = std::max(title.width(), text.width()) + 2 * kMargin;
    return QSize(std::max(width, 4 * kStemHalf + 2 * kRadius), text.bottom() + 1 + kMargin);
}

QSize BalloonWidget::sizeHint() const
{
    const QSize body = bodySize();
    return m_balloon ? QSize(body.width(), body.height() + kStem) : body;
}

void BalloonWidget::popUpAt(const QPoint &anchor)
{
    const QSize size = sizeHint();
    const QScreen *screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size * 4);

    int left = anchor.x() - 3 * kStemHalf;
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    m_stemUp = anchor.y() + size.height() <= area.bottom() + 1;
    const int top = m_stemUp ? anchor.y() : anchor.y() - size.height();
    m_stemX = std::clamp(anchor.x() - left, kRadius + kStemHalf,
                         std::max(kRadius + kStemHalf, size.width() - kRadius - kStemHalf));

    setGeometry(QRect(QPoint(left, top), size));
    if (m_balloon) {
        QPainterPath outline;
        const QRect body(QPoint(0, m_stemUp ? kStem : 0), bodySize());
        outline.addRoundedRect(body, kRadius, kRadius);
        QPolygon stem;
        if (m_stemUp)
            stem << QPoint(m_stemX - kStemHalf, kStem + 1) << QPoint(m_stemX, 0)
                 << QPoint(m_stemX + kStemHalf, kStem + 1);
        else
            stem << QPoint(m_stemX - kStemHalf, body.bottom()) << QPoint(m_stemX, size.height())
                 << QPoint(m_stemX + kStemHalf, body.bottom());
        outline.addPolygon(stem);
        setMask(QRegion(outline.simplified().toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
    show();
    raise();
}

void BalloonWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int offset = m_balloon && m_stemUp ? kStem : 0;
    const QRect body(QPoint(0, offset), bodySize());

    QPainterPath outline;
    if (m_balloon) {
        outline.addRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
        QPolygonF stem;
        if (m_stemUp)
            stem << QPointF(m_stemX - kStemHalf, kStem + 1) << QPointF(m_stemX, 0.5)
                 << QPointF(m_stemX + kStemHalf, kStem + 1);
        else
            stem << QPointF(m_stemX - kStemHalf, body.bottom() - 0.5)
                 << QPointF(m_stemX, height() - 0.5)
                 << QPointF(m_stemX + kStemHalf, body.bottom() - 0.5);
        outline.addPolygon(stem);
        outline = outline.simplified();
    } else {
        outline.addRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    p.fillPath(outline, backColour());
    p.setPen(QPen(foreColour(), 1));
    p.drawPath(outline);

    const QRect title = titleRect().translated(0, offset);
    if (!title.isNull()) {
        int x = title.left();
        if (const int icon = shownIcon(); icon != NoIcon) {
            const QStyle::StandardPixmap kind =
                icon == InformationIcon ? QStyle::SP_MessageBoxInformation
                : icon == WarningIcon   ? QStyle::SP_MessageBoxWarning
                                        : QStyle::SP_MessageBoxCritical;
            const QIcon pixmaps = style()->standardIcon(kind, nullptr, this);
            pixmaps.paint(
                &p, QRect(x, title.top() + (title.height() - kIconSize) / 2, kIconSize, kIconSize));
            x += kIconSize + kGap;
        }
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(QRect(x, title.top(), title.right() - x + 1, title.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, m_title);
        p.setFont(font());
    }
    p.drawText(textRect().translated(0, offset), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
               m_text);
}

}  // namespace lendora
