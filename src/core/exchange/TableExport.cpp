#include "core/exchange/TableExport.h"

#include "base/DateText.h"
#include "base/NumberText.h"
#include "base/SheetFile.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>

namespace lendora {

namespace {

// The file's own values for the lent flag, as the import reads them: data, not a text of
// the window, so they stay as they are in every language.
const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");
const QString kLentFlag = QStringLiteral("是否借出");

struct Source {
    const char *name;
    const char *table;
    const char *order;
};

const Source kSources[] = {
    {"books", "bookInfo", "书籍编号"},
    {"readers", "readerInfo", "读者编号"},
    {"categories", "bookType", "类别代码"},
    // Ties of a date and a book (lent, returned and lent again that day) in a fixed order.
    {"loans", "lentInfo", "借书日期, 书籍编号, 还书日期, 读者编号"},
};

const Source &sourceOf(TableExport::Table table)
{
    return kSources[static_cast<int>(table)];
}

QString cellOf(const QVariant &value, bool lentFlag)
{
    if (value.isNull())
        return {};
    if (lentFlag)
        return value.toInt() != 0 ? kYes : kNo;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return DateText::toText(value.toDate());
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText::fromDouble(value.toDouble());
    default:
        return value.toString();
    }
}

}  // namespace

std::optional<TableExport::Table> TableExport::named(const QString &name)
{
    for (int i = 0; i < int(std::size(kSources)); ++i) {
        if (name == QLatin1String(kSources[i].name))
            return static_cast<Table>(i);
    }
    return std::nullopt;
}

QStringList TableExport::columns(Table table)
{
    const QString name = QString::fromUtf8(sourceOf(table).table);
    for (const Schema::Table &t : Schema::tables()) {
        if (t.name == name)
            return t.columns;
    }
    return {};
}

std::optional<qint64> TableExport::write(Table table, SheetFile &sheet)
{
    clearError();
    const QStringList names = columns(table);
    const QString sql =
        QStringLiteral("select %1 from %2 order by %3")
            .arg(names.join(QLatin1Char(',')), QString::fromUtf8(sourceOf(table).table),
                 QString::fromUtf8(sourceOf(table).order));
    // One statement: the engine reads the rows as of one moment, and a forward-only cursor
    // keeps none of them once passed.
    QSqlQuery query(m_database.db());
    query.setForwardOnly(true);
    if (!query.prepare(sql) || !query.exec())
        return failed(m_database.classify(query.lastError()), std::nullopt);

    sheet.addRow(names);
    const int lentColumn = int(names.indexOf(kLentFlag));
    const int count = int(names.size());
    QStringList cells;
    cells.reserve(count);
    qint64 rows = 0;
    while (query.next()) {
        cells.clear();
        for (int column = 0; column < count; ++column)
            cells << cellOf(query.value(column), column == lentColumn);
        sheet.addRow(cells);
        ++rows;
        if (!sheet.error().isEmpty())
            return std::nullopt;
    }
    if (query.lastError().isValid())
        return failed(m_database.classify(query.lastError()), std::nullopt);
    return rows;
}

}  // namespace lendora
