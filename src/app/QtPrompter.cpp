#include "app/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace lendora {

namespace {
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
    QMessageBox box(boxIcon(p.icon), p.title, p.text,
                    p.buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                   : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (auto *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("取消"));
    return box.exec();
}
}  // namespace

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
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

}  // namespace lendora
