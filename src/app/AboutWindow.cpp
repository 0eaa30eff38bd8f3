#include "app/AboutWindow.h"

#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/Launcher.h"
#include "gui/widgets/WindowContext.h"
#include "ui_AboutWindow.h"

#include <QMouseEvent>
#include <QUrl>

namespace lendora {

namespace {
// Client area 4365 x 4635 twips.
const QSize kClientSize(twips(4365), twips(4635));
const QColor kLinkHover(0, 0, 255);
const QColor kLinkPlain(0, 0, 0);
}  // namespace

AboutWindow::AboutWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::AboutWindow>())
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientSize);

    const bool systemLook = m_context.systemLook();
    m_ui->Label2->setVisible(!systemLook);
    m_ui->Label4->setVisible(!systemLook);
    m_ui->Label5->setVisible(systemLook);
    m_ui->Label6->setVisible(systemLook);

    // The background and the two links report plain mouse moves, for the hover look.
    setMouseTracking(true);
    for (QLabel *link : {m_ui->Label5, m_ui->Label6}) {
        link->setMouseTracking(true);
        link->installEventFilter(this);
        showLinkLook(link, false);
    }
    m_ui->Picture1->installEventFilter(this);
    connect(m_ui->Command2, &QPushButton::clicked, this, &QWidget::close);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::showLinkLook(QLabel *label, bool hovered)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, hovered ? kLinkHover : kLinkPlain);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(hovered);
    label->setFont(font);
}

void AboutWindow::open(const QString &address)
{
    // The desktop opens it on its own; what becomes of it is not this window's concern.
    m_context.launcher().openUrl(QUrl(address));
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->Label5 || watched == m_ui->Label6) {
        // Taken here: a label passes the mouse on to the window, whose own moves mean
        // "over the background".
        auto *link = static_cast<QLabel *>(watched);
        if (event->type() == QEvent::MouseMove) {
            showLinkLook(link, true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            open(link->text());
            return true;
        }
    } else if (watched == m_ui->Picture1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && m_ui->Picture1->rect().contains(mouse->position().toPoint()))
            open(m_ui->Label5->text());
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Over the background: both links back to plain text.
    showLinkLook(m_ui->Label5, false);
    showLinkLook(m_ui->Label6, false);
    QDialog::mouseMoveEvent(event);
}

}  // namespace lendora
