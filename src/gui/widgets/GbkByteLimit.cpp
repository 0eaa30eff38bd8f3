#include "gui/widgets/GbkByteLimit.h"

#include "base/GbkText.h"

#include <QLineEdit>

namespace lendora {

namespace {
qsizetype charLength(QStringView text, qsizetype i)
{
    return GbkText::charLength(text, i);
}
int charBytes(QStringView ch)
{
    return GbkText::charBytes(ch);
}
}  // namespace

GbkByteLimit *GbkByteLimit::attach(QLineEdit *box, int bytes)
{
    auto *limit = new GbkByteLimit(box, bytes);
    box->setValidator(limit);
    return limit;
}

GbkByteLimit::GbkByteLimit(QLineEdit *box, int bytes)
    : QValidator(box), m_limit(bytes), m_before(box->text())
{
    // textChanged follows every change once it is in the box, so m_before is always the text
    // an edit starts from.
    connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { m_before = text; });
}

void GbkByteLimit::setText(QLineEdit *box, const QString &text)
{
    auto *limit = box->findChild<GbkByteLimit *>(QString(), Qt::FindDirectChildrenOnly);
    if (limit)
        limit->m_programText = true;
    box->setText(text);
    if (limit)
        limit->m_programText = false;
}

int GbkByteLimit::bytes(QStringView text)
{
    return GbkText::bytes(text);
}

QValidator::State GbkByteLimit::validate(QString &input, int &pos) const
{
    if (m_programText || bytes(input) <= m_limit)
        return Acceptable;

    // The edit replaced the middle of the text before it: keep what it left of the old text
    // and as much of the new part as fits.
    const QString &before = m_before;
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(before.size(), input.size());
    while (prefix < shorter && before.at(prefix) == input.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before.at(before.size() - 1 - suffix) == input.at(input.size() - 1 - suffix))
        ++suffix;
    // Never split a surrogate pair at either seam.
    if (prefix > 0 && input.at(prefix - 1).isHighSurrogate())
        --prefix;
    if (suffix > 0 && input.at(input.size() - suffix).isLowSurrogate())
        --suffix;

    const QStringView head = QStringView(input).left(prefix);
    const QStringView added = QStringView(input).mid(prefix, input.size() - prefix - suffix);
    const QStringView tail = QStringView(input).right(suffix);

    int room = m_limit - bytes(head) - bytes(tail);
    qsizetype kept = 0;
    while (kept < added.size()) {
        const qsizetype n = charLength(added, kept);
        const int need = charBytes(added.mid(kept, n));
        if (need > room)
            break;
        room -= need;
        kept += n;
    }
    input = head.toString() + added.left(kept).toString() + tail.toString();
    pos = static_cast<int>(prefix + kept);
    return Acceptable;
}

}  // namespace lendora
