#include "gui/labels/SheetWindow.h"

#include "base/JobControl.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/Progress.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "reports/DocumentRenderer.h"
#include "reports/PrintSink.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <memory>

namespace lendora {

namespace {
const char *const kPdfCaption = QT_TRANSLATE_NOOP("lendora::SheetWindow", "存为 PDF");
const char *const kPdfFilter = QT_TRANSLATE_NOOP("lendora::SheetWindow", "PDF 文件 (*.pdf)");
const char *const kPdfSaved = QT_TRANSLATE_NOOP("lendora::SheetWindow", "已保存到 %1。");
const char *const kPdfFailed = QT_TRANSLATE_NOOP("lendora::SheetWindow", "没有保存 PDF 文件:%1");
const char *const kCancelled = QT_TRANSLATE_NOOP("lendora::SheetWindow", "已取消,没有打印。");
const char *const kPdfCancelled =
    QT_TRANSLATE_NOOP("lendora::SheetWindow", "已取消,没有保存 PDF 文件。");
const char *const kCount = QT_TRANSLATE_NOOP("lendora::SheetWindow", "共 %1 张,%2 页。");
const char *const kQrNote = QT_TRANSLATE_NOOP(
    "lendora::SheetWindow", "其中 %1 个编号含有 ASCII 以外的字符(如汉字),印成二维码(QR 码);"
                            "其余印成 Code 128 条码。");
const char *const kPage = QT_TRANSLATE_NOOP("lendora::SheetWindow", "第 %1 页,共 %2 页");

// The preview's pages: legible at the least, never larger than a label needs; a margin for
// the frame around them.
constexpr qreal kLeastDpi = 30;
constexpr qreal kMostDpi = 400;
constexpr int kFrame = 8;

// The document of one page, for its image.
Document pageOf(const Document &document, int page)
{
    Document one = document;
    one.blocks = {document.blocks.at(page)};
    return one;
}
}  // namespace

SheetWindow::SheetWindow(WindowContext &context) : m_context(context) {}

void SheetWindow::wireSheets(const Controls &controls)
{
    m_controls = controls;
    m_controls.image->parentWidget()->installEventFilter(this);
    connect(controls.preview, &QPushButton::clicked, this, [this] { start(Purpose::Preview); });
    connect(controls.print, &QPushButton::clicked, this, [this] { start(Purpose::Print); });
    connect(controls.pdf, &QPushButton::clicked, this, [this] { start(Purpose::Pdf); });
    connect(controls.previousPage, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(controls.nextPage, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    forgetPreview();
}

void SheetWindow::forgetPreview()
{
    m_preview.reset();
    m_page = 0;
    m_controls.note->clear();
    m_controls.image->clear();
    m_controls.page->clear();
    m_controls.previousPage->setEnabled(false);
    m_controls.nextPage->setEnabled(false);
}

void SheetWindow::showPage(int page)
{
    if (!m_preview || m_preview->blocks.isEmpty())
        return;
    const int pages = int(m_preview->blocks.size());
    m_page = std::clamp(page, 0, pages - 1);
    const QScopedValueRollback<bool> drawing(m_drawing, true);
    // The whole page in the room there is, drawn at that size rather than scaled.
    const Document one = pageOf(*m_preview, m_page);
    const QSizeF inches = one.pageSize.size(QPageSize::Inch);
    QSize room = m_controls.image->parentWidget()->size();
    // In a scroll area: the room there is without scroll bars.
    for (QWidget *up = m_controls.image->parentWidget(); up; up = up->parentWidget()) {
        if (const auto *scroll = qobject_cast<QAbstractScrollArea *>(up)) {
            room = scroll->maximumViewportSize();
            break;
        }
    }
    room -= QSize(kFrame, kFrame);
    const qreal dpi = std::min(room.width() / inches.width(), room.height() / inches.height());
    m_controls.image->setPixmap(QPixmap::fromImage(
        DocumentRenderer::firstPageImage(one, int(std::clamp<qreal>(dpi, kLeastDpi, kMostDpi)))));
    m_controls.page->setText(tr(kPage).arg(m_page + 1).arg(pages));
    m_controls.previousPage->setEnabled(m_page > 0);
    m_controls.nextPage->setEnabled(m_page + 1 < pages);
}

bool SheetWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The page is drawn to the room it has: again when that changes.
    if (event->type() == QEvent::Resize && m_preview && !m_drawing)
        QMetaObject::invokeMethod(
            this, [this] { showPage(m_page); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void SheetWindow::start(Purpose purpose)
{
    if (m_running)
        return;
    std::optional<SheetOrder> asked = order();
    if (!asked)
        return;
    const SheetOrder sheets = *asked;
    QString pdfPath;
    if (purpose == Purpose::Pdf) {
        pdfPath = m_context.files().saveFileName(tr(kPdfCaption), pdfName(), tr(kPdfFilter));
        if (pdfPath.isEmpty())
            return;
        if (!pdfPath.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            pdfPath += QStringLiteral(".pdf");
    }

    // What the worker leaves for the window: its document, or why there is none.
    struct Made {
        std::optional<Document> document;
        QString error;
    };
    const auto made = std::make_shared<Made>();
    const auto work = [made, make = sheets.make, pdfPath](JobControl &job) {
        made->document = make(job, &made->error);
        if (!made->document)
            return false;
        if (pdfPath.isEmpty())
            return true;
        return DocumentRenderer::writePdf(*made->document, pdfPath, &made->error, nullptr, &job);
    };
    m_running = true;
    const auto ended = [this, purpose, sheets, made, pdfPath](Progress::Outcome outcome) {
        m_running = false;
        const QString shown = QDir::toNativeSeparators(pdfPath);
        if (outcome == Progress::Outcome::Cancelled) {
            // A window the clerk closed meanwhile says nothing more.
            if (purpose != Purpose::Preview && isVisible())
                m_context.prompter().message(
                    {tr(purpose == Purpose::Pdf ? kPdfCancelled : kCancelled), hintTitle()});
            return;
        }
        if (outcome == Progress::Outcome::Failed) {
            m_context.prompter().message(
                {purpose == Purpose::Pdf ? tr(kPdfFailed).arg(made->error) : made->error,
                 hintTitle()});
            return;
        }
        const Document &document = *made->document;
        if (purpose == Purpose::Preview) {
            m_preview = document;
            QString note = tr(kCount).arg(sheets.count).arg(document.blocks.size());
            if (sheets.qrCodes > 0)
                note += QLatin1Char('\n') + tr(kQrNote).arg(sheets.qrCodes);
            m_controls.note->setText(note);
            showPage(0);
            return;
        }
        if (purpose == Purpose::Print) {
            if (m_context.printer().print(document, paperOf(sheets.stock)))
                stockUsed(sheets.stock);
            return;
        }
        stockUsed(sheets.stock);
        m_context.prompter().message({tr(kPdfSaved).arg(shown), hintTitle()});
    };
    m_context.progress().run(this, sheets.title, work, ended);
}

}  // namespace lendora
