#include "gui/widgets/InputBox.h"

#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace lendora {

namespace {
// A skin may already have styled the box: its rules for these properties only take hold once
// the box is polished again.
void repolish(QWidget *widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// What the clerk pasted, less the control characters a key press could not have typed: a
// NUL would cut the text short in a partial match and match rows that do not hold it.
void dropControlCharacters(QLineEdit *box, const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return;
    QString clean = text;
    clean.removeIf(isControl);
    const int cursor = box->cursorPosition();
    const auto before = QStringView(text).left(cursor);
    const int removedBefore = int(std::count_if(before.cbegin(), before.cend(), isControl));
    box->setText(clean);
    box->setCursorPosition(cursor - removedBefore);
}
}  // namespace

void markInput(QLineEdit *box)
{
    // A property the skins can select on, and the palette for the system look.
    box->setProperty("lendoraInput", true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(0xE0, 0xFF, 0xFF));
    box->setPalette(palette);
    repolish(box);
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box](const QString &text) { dropControlCharacters(box, text); });
}

void markDisplay(QLineEdit *box)
{
    box->setReadOnly(true);
    box->setProperty("lendoraDisplay", true);
    box->setFocusPolicy(Qt::NoFocus);
    repolish(box);
}

}  // namespace lendora
