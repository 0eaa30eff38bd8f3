#include "app/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
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
    QMessageBox box(boxIcon(p.icon), p.title, p.text,
                    p.buttons == Buttons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                   : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(tr(kOk));
    if (auto *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(tr(kCancel));
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
    dialog.setOkButtonText(tr(kOk));
    dialog.setCancelButtonText(tr(kCancel));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

}  // namespace lendora
