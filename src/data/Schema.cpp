#include "data/Schema.h"

namespace lendora {

const QList<Schema::Table> &Schema::tables()
{
    static const QList<Table> all = {
        {QStringLiteral("bookInfo"),
         {QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("类别代码"),
          QStringLiteral("出版社"), QStringLiteral("作者姓名"), QStringLiteral("书籍价格"),
          QStringLiteral("书籍页码"), QStringLiteral("登记日期"), QStringLiteral("是否借出")}},
        {QStringLiteral("bookType"),
         {QStringLiteral("类别代码"), QStringLiteral("书籍类别"), QStringLiteral("借出天数")}},
        {QStringLiteral("readerInfo"),
         {QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("读者性别"),
          QStringLiteral("联系电话"), QStringLiteral("所在部门")}},
        {QStringLiteral("lentInfo"),
         {QStringLiteral("读者编号"), QStringLiteral("书籍编号"), QStringLiteral("借书日期"),
          QStringLiteral("还书日期"), QStringLiteral("超出天数"), QStringLiteral("罚款金额")}},
        {QStringLiteral("basicSet"), {QStringLiteral("借出册数"), QStringLiteral("罚款")}},
    };
    return all;
}

}  // namespace lendora
