#pragma once

#include "core/circulation/LoanStore.h"
#include "data/Columns.h"

#include <QCoreApplication>
#include <QString>

namespace lendora {

// The messages the three circulation tabs share; each tab keeps its own beside them.
namespace desktexts {

inline QString text(const char *source)
{
    return QCoreApplication::translate("DeskTexts", source);
}

inline QString enterReader()
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "请先输入读者编号"));
}
inline QString enterBook()
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "请先输入书籍编号"));
}
inline QString noReader()
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "没有该读者信息!"));
}
inline QString noBook()
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "没有该书信息!"));
}
inline QString readerNameMissing()
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "该读者没有登记姓名,请先在读者管理中补全!"));
}
// `column` is the key of the empty column; the clerk reads its label.
inline QString bookFieldMissing(const QString &column)
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "该书的%1为空,请先在书库管理中补全!"))
        .arg(Columns::label(column));
}
inline QString engineFailed(const DbError &error)
{
    return error.forClerk();
}

// A return or renewal dated before the loan's lending date: the computer's clock is wrong.
inline QString beforeLending(const QString &lendDate, const QString &date)
{
    return text(QT_TRANSLATE_NOOP("DeskTexts", "日期 %2 早于该书的借书日期 %1,没有做任何改动。\n"
                                               "请检查电脑的日期是否正确。"))
        .arg(lendDate, date);
}

// What the clerk is told when a reader lookup found no usable row.
inline QString readerNotFound(LoanStore::Found found, const DbError &engineError)
{
    switch (found) {
    case LoanStore::Found::No:
        return noReader();
    case LoanStore::Found::Incomplete:
        return readerNameMissing();
    case LoanStore::Found::Failed:
        return engineFailed(engineError);
    case LoanStore::Found::Yes:
        break;
    }
    return {};
}

}  // namespace desktexts
}  // namespace lendora
