#include "app/ReadmeWindow.h"

#include "gui/widgets/WindowContext.h"

#include <QKeySequence>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace lendora {

namespace {
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::ReadmeWindow", "使用帮助");
// Room for the help file's 80-column lines; the clerk may resize it.
const QSize kSize(720, 540);
}  // namespace

ReadmeWindow::ReadmeWindow(WindowContext &context, const QString &text)
{
    setObjectName(QStringLiteral("FrmReadme"));
    context.applyWindowStyle(this);
    setWindowTitle(tr(kTitle));

    auto *view = new QPlainTextEdit(this);
    view->setObjectName(QStringLiteral("txtReadme"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setPlainText(text);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    resize(kSize);

    // A help text is read and put away: Esc closes it, as it does a dialog.
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

}  // namespace lendora
