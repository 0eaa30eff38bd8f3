#include "core/exchange/Import.h"

#include "base/DateText.h"
#include "base/GbkText.h"
#include "base/Workbook.h"
#include "core/catalogue/CategoryStore.h"
#include "core/readers/ReaderLimits.h"
#include "data/Columns.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <optional>

namespace lendora {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::Import", text);
}
const char *const kLine = QT_TRANSLATE_NOOP("lendora::Import", "第 %1 行 %2: %3");
const char *const kWholeLine = QT_TRANSLATE_NOOP("lendora::Import", "第 %1 行: %2");
const char *const kNoKeyColumn =
    QT_TRANSLATE_NOOP("lendora::Import", "文件中没有“%1”列,请在列对应中选择哪一列是%1。");
const char *const kEmptyFile = QT_TRANSLATE_NOOP("lendora::Import", "文件是空的,没有标题行。");
const char *const kNoRows = QT_TRANSLATE_NOOP("lendora::Import", "文件只有标题行,没有数据。");
const char *const kNotText =
    QT_TRANSLATE_NOOP("lendora::Import", "这不是文本文件(含有二进制内容),不能导入。");
const char *const kUnknownEncoding = QT_TRANSLATE_NOOP(
    "lendora::Import", "文件的编码无法识别(既不是 UTF-8 也不是 GB18030),不能导入。\n"
                       "请在表格程序中把它另存为“CSV UTF-8”格式后再导入。");
const char *const kUnclosedQuote =
    QT_TRANSLATE_NOOP("lendora::Import", "第 %1 行的引号没有闭合,文件不完整或格式有误。");
const char *const kBadWorkbook = QT_TRANSLATE_NOOP(
    "lendora::Import",
    "无法读取这个 .xlsx 工作簿(文件已损坏,或不是表格程序保存的工作簿),不能导入。");
const char *const kEmptyKey = QT_TRANSLATE_NOOP("lendora::Import", "编号为空");
const char *const kDuplicateInFile = QT_TRANSLATE_NOOP("lendora::Import", "与第 %1 行的编号重复");
const char *const kExists = QT_TRANSLATE_NOOP("lendora::Import", "数据库中已有编号“%1”");
const char *const kEmptyCategory = QT_TRANSLATE_NOOP("lendora::Import", "类别代码为空");
const char *const kNoCategory = QT_TRANSLATE_NOOP("lendora::Import", "类别代码“%1”不存在");
const char *const kLongCategory =
    QT_TRANSLATE_NOOP("lendora::Import", "类别代码“%1”不是一个字符,图书只能归入一个字符的类别");
const char *const kNotADate = QT_TRANSLATE_NOOP(
    "lendora::Import", "“%1”不是日期(应为 2026-12-08、2026/12/8、2026.12.8 或 2026年12月8日)");
const char *const kTooLong =
    QT_TRANSLATE_NOOP("lendora::Import", "长 %1 字节,超过了 %2 字节(一个汉字算两个字节)");
const char *const kExtraCells =
    QT_TRANSLATE_NOOP("lendora::Import", "比标题行多出内容,可能有逗号没有加引号");
const char *const kExtraSheetCells =
    QT_TRANSLATE_NOOP("lendora::Import", "标题行右边的列也有内容,请给这些列加上列名");
const char *const kBooksDone = QT_TRANSLATE_NOOP("lendora::Import", "导入完毕,共添加 %1 本图书。");
const char *const kReadersDone =
    QT_TRANSLATE_NOOP("lendora::Import", "导入完毕,共添加 %1 位读者。");
const char *const kSkipped =
    QT_TRANSLATE_NOOP("lendora::Import", "另有 %1 行的编号数据库中已有,已跳过。");
const char *const kNothingWritten = QT_TRANSLATE_NOOP("lendora::Import", "没有导入任何数据。");
const char *const kRejected =
    QT_TRANSLATE_NOOP("lendora::Import", "有 %1 行不能导入,请改正后再导入:");
const char *const kMore = QT_TRANSLATE_NOOP("lendora::Import", "……还有 %1 行");

const QString kBookNumber = QStringLiteral("书籍编号");
const QString kCategory = QStringLiteral("类别代码");
const QString kDate = QStringLiteral("登记日期");

struct Table {
    QString name;
    QStringList columns;
};

const Table &tableOf(Import::Kind kind)
{
    static const Table books{QStringLiteral("bookInfo"),
                             {kBookNumber, QStringLiteral("书籍名称"), kCategory,
                              QStringLiteral("出版社"), QStringLiteral("作者姓名"),
                              QStringLiteral("书籍价格"), QStringLiteral("书籍页码"), kDate}};
    static const Table readers{QStringLiteral("readerInfo"),
                               {QStringLiteral("读者编号"), QStringLiteral("读者姓名"),
                                QStringLiteral("读者性别"), QStringLiteral("联系电话"),
                                QStringLiteral("所在部门")}};
    return kind == Import::Kind::Books ? books : readers;
}

// The reader window's limits, by column.
int byteLimit(Import::Kind kind, int field)
{
    if (kind != Import::Kind::Readers)
        return 0;
    static const int limits[] = {ReaderLimits::kNumberBytes, ReaderLimits::kNameBytes,
                                 ReaderLimits::kSexBytes, ReaderLimits::kPhoneBytes, 0};
    return limits[field];
}

// Rows written by one statement. The text indexes' triggers write to FTS5 tables, which
// write out what they hold at the end of every statement: one statement per row made each
// row's index entries a segment of their own, and took most of an import's time.
constexpr int kRowsPerInsert = 200;

// An insert of `rows` rows.
QString insertSql(const Table &table, Import::Kind kind, qsizetype rows)
{
    QStringList marks(table.columns.size(), QStringLiteral("?"));
    QString columns = table.columns.join(QStringLiteral(", "));
    // Imported books are on the shelf.
    if (kind == Import::Kind::Books) {
        columns += QStringLiteral(", 是否借出");
        marks << QStringLiteral("0");
    }
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringLiteral("insert into %1 (%2) values %3")
        .arg(table.name, columns, QStringList(rows, row).join(QStringLiteral(", ")));
}

}  // namespace

QString Import::Reject::text() const
{
    return column.isEmpty() ? tr(kWholeLine).arg(line).arg(reason)
                            : tr(kLine).arg(line).arg(Columns::label(column), reason);
}

QString Import::Outcome::message(Kind kind, int rejectsShown) const
{
    if (!refused()) {
        QString text = tr(kind == Kind::Books ? kBooksDone : kReadersDone).arg(added);
        if (skipped > 0)
            text += QLatin1Char('\n') + tr(kSkipped).arg(skipped);
        return text;
    }
    QStringList lines{tr(kNothingWritten)};
    if (!problem.isEmpty()) {
        lines << problem;
    } else if (!rejects.isEmpty()) {
        lines << tr(kRejected).arg(rejects.size());
        for (int i = 0; i < rejects.size() && i < rejectsShown; ++i)
            lines << rejects.at(i).text();
        if (rejects.size() > rejectsShown)
            lines << tr(kMore).arg(rejects.size() - rejectsShown);
    } else {
        lines << error.forClerk();
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList Import::fields(Kind kind)
{
    return tableOf(kind).columns;
}

QList<int> Import::defaultMapping(Kind kind, const QStringList &header)
{
    QList<int> mapping;
    for (const QString &field : fields(kind))
        mapping << int(header.indexOf(field));
    return mapping;
}

QString Import::problemOf(const Csv::Table &table)
{
    switch (table.problem) {
    case Csv::Problem::None:
        return {};
    case Csv::Problem::Empty:
        return tr(kEmptyFile);
    case Csv::Problem::NotText:
        return tr(kNotText);
    case Csv::Problem::UnknownEncoding:
        return tr(kUnknownEncoding);
    case Csv::Problem::UnclosedQuote:
        return tr(kUnclosedQuote).arg(table.problemLine);
    case Csv::Problem::BadWorkbook:
        return tr(kBadWorkbook);
    }
    return {};
}

Csv::Table Import::readFile(const QByteArray &bytes, std::optional<TextFile::Encoding> encoding)
{
    return Workbook::looksLikeOne(bytes) ? Workbook::firstSheet(bytes) : Csv::read(bytes, encoding);
}

QDate Import::parseDate(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})(?:([-/.])(\\d{1,2})\\2(\\d{1,2})|年(\\d{1,2})月(\\d{1,2})日)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    const bool chinese = m.captured(2).isEmpty();
    const QString month = m.captured(chinese ? 5 : 3);
    const QString day = m.captured(chinese ? 6 : 4);
    // The ISO form is written with two digits; the others as people write them.
    if (m.captured(2) == QLatin1String("-") && (month.size() != 2 || day.size() != 2))
        return {};
    return QDate(m.captured(1).toInt(), month.toInt(), day.toInt());
}

namespace {

// What every line is checked against, read once before the first line.
struct LineChecks {
    const Table &target;
    Import::Kind kind;
    QList<int> mapping;     // a file column per field, -1 for none
    qsizetype headerWidth;  // cells past it must be empty
    bool workbook;
    QSet<QString> categories;
    int categoryField;
    int dateField;
};

// The whole file's problem before any line is looked at (unreadable, no key column, no data);
// empty when the lines can be checked.
QString fileProblem(const Csv::Table &table, const LineChecks &checks)
{
    if (!table.ok())
        return Import::problemOf(table);
    if (checks.mapping.first() < 0)
        return tr(kNoKeyColumn).arg(Columns::label(checks.target.columns.first()));
    if (table.rows.isEmpty())
        return tr(kNoRows);
    return {};
}

// The library's category codes, for the books' category column.
bool readCategories(QSqlDatabase db, QSet<QString> *codes, DbError *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select 类别代码 from bookType"))) {
        *error = {DbError::Other, query.lastError().text()};
        return false;
    }
    while (query.next())
        codes->insert(query.value(0).toString());
    return true;
}

// Checks one line against the file and the categories, filling `values` (one per field, the
// date in its stored form); the library's own rows are not looked at here. `seen` holds the
// numbers of earlier lines and their lines.
QList<Import::Reject> checkLine(const Csv::Row &row, const LineChecks &checks,
                                QHash<QString, int> &seen, QVariantList *values)
{
    QList<Import::Reject> rejects;
    const auto reject = [&](int field, const QString &reason) {
        rejects << Import::Reject{row.line, field < 0 ? QString() : checks.target.columns.at(field),
                                  reason};
    };
    for (qsizetype i = checks.headerWidth; i < row.cells.size(); ++i) {
        if (!row.cells.at(i).isEmpty()) {
            reject(-1, tr(checks.workbook ? kExtraSheetCells : kExtraCells));
            break;
        }
    }
    const int fieldCount = int(checks.target.columns.size());
    for (int field = 0; field < fieldCount; ++field)
        *values << row.cells.value(checks.mapping.at(field));  // "" past the end or unmapped

    const QString key = values->first().toString();
    if (key.isEmpty())
        reject(0, tr(kEmptyKey));
    else if (seen.contains(key))
        reject(0, tr(kDuplicateInFile).arg(seen.value(key)));
    else
        seen.insert(key, row.line);

    for (int field = 0; field < fieldCount; ++field) {
        const int limit = byteLimit(checks.kind, field);
        const int bytes = limit > 0 ? GbkText::bytes(values->at(field).toString()) : 0;
        if (bytes > limit)
            reject(field, tr(kTooLong).arg(bytes).arg(limit));
    }
    if (checks.kind != Import::Kind::Books)
        return rejects;

    const QString code = values->at(checks.categoryField).toString();
    if (code.isEmpty())
        reject(checks.categoryField, tr(kEmptyCategory));
    else if (!checks.categories.contains(code))
        reject(checks.categoryField, tr(kNoCategory).arg(code));
    else if (!Category::isOneCharacter(code))
        reject(checks.categoryField, tr(kLongCategory).arg(code));
    const QString dateText = values->at(checks.dateField).toString();
    const QDate date = Import::parseDate(dateText);
    if (dateText.isEmpty() || date.isValid())
        (*values)[checks.dateField] = DateText::toSql(date);  // NULL for no date
    else
        reject(checks.dateField, tr(kNotADate).arg(dateText));
    return rejects;
}

}  // namespace

Import::Outcome Import::prepare(const Csv::Table &table, const Options &options,
                                QList<QVariantList> *rows)
{
    const Table &target = tableOf(options.kind);
    LineChecks checks{target,
                      options.kind,
                      options.mapping.size() == target.columns.size()
                          ? options.mapping
                          : defaultMapping(options.kind, table.header),
                      table.header.size(),
                      table.workbook,
                      {},
                      int(target.columns.indexOf(kCategory)),
                      int(target.columns.indexOf(kDate))};
    Outcome outcome;
    outcome.problem = fileProblem(table, checks);
    if (!outcome.problem.isEmpty())
        return outcome;
    if (options.kind == Kind::Books
        && !readCategories(m_database.db(), &checks.categories, &outcome.error))
        return outcome;
    QSqlQuery held(m_database.db());
    if (!held.prepare(QStringLiteral("select count(*) from %1 where %2 = ?")
                          .arg(target.name, target.columns.first()))) {
        outcome.error = {DbError::Other, held.lastError().text()};
        return outcome;
    }

    QHash<QString, int> seen;  // number -> its line
    for (const Csv::Row &row : table.rows) {
        QVariantList values;
        const QList<Reject> rejects = checkLine(row, checks, seen, &values);
        if (!rejects.isEmpty()) {
            outcome.rejects << rejects;
            continue;
        }
        // Only a line fit to write asks the library whether it holds the number.
        const QString key = values.first().toString();
        held.bindValue(0, key);
        if (!held.exec() || !held.next()) {
            outcome.error = {DbError::Other, held.lastError().text()};
            return outcome;
        }
        const bool exists = held.value(0).toInt() > 0;
        held.finish();
        if (exists && options.skipExisting) {
            ++outcome.skipped;
        } else if (exists) {
            outcome.rejects << Reject{row.line, target.columns.first(), tr(kExists).arg(key)};
        } else {
            if (rows)
                rows->append(values);
            ++outcome.added;
        }
    }
    if (outcome.refused())
        outcome.added = 0;
    return outcome;
}

Import::Outcome Import::check(const Csv::Table &table, const Options &options)
{
    return prepare(table, options, nullptr);
}

Import::Outcome Import::run(const Csv::Table &table, const Options &options)
{
    // The checks run inside the transaction: no desk adds a number between check and write.
    WriteTransaction transaction(m_database);
    if (!transaction.isActive()) {
        Outcome outcome;
        outcome.error = transaction.error();
        return outcome;
    }
    QList<QVariantList> rows;
    Outcome outcome = prepare(table, options, &rows);
    if (outcome.refused())
        return outcome;
    for (qsizetype from = 0; from < rows.size(); from += kRowsPerInsert) {
        const qsizetype count = std::min<qsizetype>(kRowsPerInsert, rows.size() - from);
        QVariantList values;
        for (qsizetype i = from; i < from + count; ++i)
            values << rows.at(i);
        DbError error;
        if (m_database.change(insertSql(tableOf(options.kind), options.kind, count), values, &error)
            != count) {
            outcome.added = 0;
            outcome.error = error;
            return outcome;
        }
    }
    const Table &target = tableOf(options.kind);
    const QString firstKey = rows.isEmpty() ? QString() : rows.first().first().toString();
    if (!transaction.commit([&]() -> std::optional<bool> {
            QSqlQuery look(m_database.db());
            look.prepare(QStringLiteral("select count(*) from %1 where %2 = ?")
                             .arg(target.name, target.columns.first()));
            look.addBindValue(firstKey);
            if (!look.exec() || !look.next())
                return std::nullopt;
            return look.value(0).toInt() > 0;
        })) {
        outcome.added = 0;
        outcome.error = transaction.error();
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

}  // namespace lendora
