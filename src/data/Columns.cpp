#include "data/Columns.h"

#include <QCoreApplication>
#include <QHash>

namespace lendora {

namespace {

// Every column of the five tables, once each, and the columns worked out from them.
const char *const kLabels[] = {
    // bookInfo
    QT_TRANSLATE_NOOP("Columns", "书籍编号"),
    QT_TRANSLATE_NOOP("Columns", "书籍名称"),
    QT_TRANSLATE_NOOP("Columns", "类别代码"),
    QT_TRANSLATE_NOOP("Columns", "出版社"),
    QT_TRANSLATE_NOOP("Columns", "作者姓名"),
    QT_TRANSLATE_NOOP("Columns", "书籍价格"),
    QT_TRANSLATE_NOOP("Columns", "书籍页码"),
    QT_TRANSLATE_NOOP("Columns", "登记日期"),
    QT_TRANSLATE_NOOP("Columns", "是否借出"),
    // bookType
    QT_TRANSLATE_NOOP("Columns", "书籍类别"),
    QT_TRANSLATE_NOOP("Columns", "借出天数"),
    // readerInfo
    QT_TRANSLATE_NOOP("Columns", "读者编号"),
    QT_TRANSLATE_NOOP("Columns", "读者姓名"),
    QT_TRANSLATE_NOOP("Columns", "读者性别"),
    QT_TRANSLATE_NOOP("Columns", "联系电话"),
    QT_TRANSLATE_NOOP("Columns", "所在部门"),
    // lentInfo
    QT_TRANSLATE_NOOP("Columns", "借书日期"),
    QT_TRANSLATE_NOOP("Columns", "还书日期"),
    QT_TRANSLATE_NOOP("Columns", "超出天数"),
    QT_TRANSLATE_NOOP("Columns", "罚款金额"),
    // basicSet
    QT_TRANSLATE_NOOP("Columns", "借出册数"),
    QT_TRANSLATE_NOOP("Columns", "罚款"),
    // worked out for the overdue list
    QT_TRANSLATE_NOOP("Columns", "应还日期"),
    QT_TRANSLATE_NOOP("Columns", "应交罚款"),
    QT_TRANSLATE_NOOP("Columns", "说明"),
    // worked out for the day sheet
    QT_TRANSLATE_NOOP("Columns", "类型"),
};

}  // namespace

QString Columns::label(const QString &key)
{
    static const QHash<QString, const char *> byKey = [] {
        QHash<QString, const char *> all;
        for (const char *source : kLabels)
            all.insert(QString::fromUtf8(source), source);
        return all;
    }();
    const char *source = byKey.value(key, nullptr);
    return source ? QCoreApplication::translate("Columns", source) : key;
}

}  // namespace lendora
