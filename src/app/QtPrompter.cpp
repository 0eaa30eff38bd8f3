#include "app/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>

namespace lendora {

namespace {
const char *const kOk = QT_TRANSLATE_NOOP("QtPrompter", "确定");
const char *const kCancel = QT_TRANSLATE_NOOP("QtPrompter", "取消");

QString tr(const char *text)
{
    return QCoreApplication::translate("QtPrompter", text);
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int show(const Prompt &p)
{
    return QtPrompter::messageBox(p, QApplication::activeWindow())->exec();
}
}  // namespace

std::unique_ptr<QMessageBox> QtPrompter::messageBox(const Prompt &p, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(
        boxIcon(p.icon), p.title, p.text,
        p.buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
        parent);
    box->button(QMessageBox::Ok)->setText(tr(kOk));
    if (auto *cancel = box->button(QMessageBox::Cancel))
        cancel->setText(tr(kCancel));
    // The box fixes its own size when shown, from its layout's minimum: a row as wide as the
    // title raises that minimum.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(
            new QSpacerItem(widthForTitle(p.title), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

int QtPrompter::widthForTitle(const QString &title)
{
    // The window manager's title font is unknown to Qt: take the title-bar font, bold, as
    // most frames draw it, and leave room for the frame's icon and its buttons (close,
    // and minimise, maximise, help on some desktops), each about two lines of text wide.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int frameButtons = 5 * 2 * metrics.height();
    return metrics.horizontalAdvance(title) + frameButtons;
}

void QtPrompter::message(const Prompt &p)
{
    show(p);
}

bool QtPrompter::confirm(const Prompt &p)
{
    return show(p) == QMessageBox::Ok;
}

QString QtPrompter::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(tr(kOk));
    dialog.setCancelButtonText(tr(kCancel));
    dialog.setMinimumWidth(widthForTitle(title));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

}  // namespace lendora
