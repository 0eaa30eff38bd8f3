#include "core/exchange/Import.h"

#include "base/DateText.h"
#include "base/GbkText.h"
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
const char *const kEmptyKey = QT_TRANSLATE_NOOP("lendora::Import", "编号为空");
const char *const kDuplicateInFile = QT_TRANSLATE_NOOP("lendora::Import", "与第 %1 行的编号重复");
const char *const kExists = QT_TRANSLATE_NOOP("lendora::Import", "数据库中已有编号“%1”");
const char *const kEmptyCategory = QT_TRANSLATE_NOOP("lendora::Import", "类别代码为空");
const char *const kNoCategory = QT_TRANSLATE_NOOP("lendora::Import", "类别代码“%1”不存在");
const char *const kNotADate = QT_TRANSLATE_NOOP(
    "lendora::Import", "“%1”不是日期(应为 2026-12-08、2026/12/8、2026.12.8 或 2026年12月8日)");
const char *const kTooLong =
    QT_TRANSLATE_NOOP("lendora::Import", "长 %1 字节,超过了 %2 字节(一个汉字算两个字节)");
const char *const kExtraCells =
    QT_TRANSLATE_NOOP("lendora::Import", "比标题行多出内容,可能有逗号没有加引号");
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
    }
    return {};
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

Import::Outcome Import::prepare(const Csv::Table &table, const Options &options,
                                QList<QVariantList> *rows)
{
    Outcome outcome;
    if (!table.ok()) {
        outcome.problem = problemOf(table);
        return outcome;
    }
    const Table &target = tableOf(options.kind);
    const int fieldCount = int(target.columns.size());
    const QList<int> mapping = options.mapping.size() == fieldCount
                                   ? options.mapping
                                   : defaultMapping(options.kind, table.header);
    if (mapping.first() < 0) {
        outcome.problem = tr(kNoKeyColumn).arg(Columns::label(target.columns.first()));
        return outcome;
    }
    if (table.rows.isEmpty()) {
        outcome.problem = tr(kNoRows);
        return outcome;
    }

    const bool books = options.kind == Kind::Books;
    QSet<QString> categories;
    QSqlQuery query(m_database.db());
    if (books) {
        if (!query.exec(QStringLiteral("select 类别代码 from bookType"))) {
            outcome.error = {DbError::Other, query.lastError().text()};
            return outcome;
        }
        while (query.next())
            categories.insert(query.value(0).toString());
    }
    if (!query.prepare(QStringLiteral("select count(*) from %1 where %2 = ?")
                           .arg(target.name, target.columns.first()))) {
        outcome.error = {DbError::Other, query.lastError().text()};
        return outcome;
    }

    QHash<QString, int> seen;  // number -> its line
    const int categoryField = int(target.columns.indexOf(kCategory));
    const int dateField = int(target.columns.indexOf(kDate));
    for (const Csv::Row &row : table.rows) {
        const auto reject = [&](int field, const QString &reason) {
            outcome.rejects << Reject{row.line, field < 0 ? QString() : target.columns.at(field),
                                      reason};
        };
        const int before = int(outcome.rejects.size());
        bool extra = false;
        for (qsizetype i = table.header.size(); i < row.cells.size(); ++i)
            extra = extra || !row.cells.at(i).isEmpty();
        if (extra)
            reject(-1, tr(kExtraCells));

        QVariantList values;
        for (int field = 0; field < fieldCount; ++field)
            values << row.cells.value(mapping.at(field));  // "" past the end or unmapped
        const QString key = values.first().toString();
        if (key.isEmpty()) {
            reject(0, tr(kEmptyKey));
        } else if (seen.contains(key)) {
            reject(0, tr(kDuplicateInFile).arg(seen.value(key)));
        } else {
            seen.insert(key, row.line);
        }
        for (int field = 0; field < fieldCount; ++field) {
            const int limit = byteLimit(options.kind, field);
            const int bytes = limit > 0 ? GbkText::bytes(values.at(field).toString()) : 0;
            if (bytes > limit)
                reject(field, tr(kTooLong).arg(bytes).arg(limit));
        }
        if (books) {
            const QString code = values.at(categoryField).toString();
            if (code.isEmpty())
                reject(categoryField, tr(kEmptyCategory));
            else if (!categories.contains(code))
                reject(categoryField, tr(kNoCategory).arg(code));
            const QString dateText = values.at(dateField).toString();
            const QDate date = parseDate(dateText);
            if (dateText.isEmpty() || date.isValid())
                values[dateField] = DateText::toSql(date);  // NULL for no date
            else
                reject(dateField, tr(kNotADate).arg(dateText));
        }
        if (outcome.rejects.size() > before || key.isEmpty())
            continue;
        query.bindValue(0, key);
        if (!query.exec() || !query.next()) {
            outcome.error = {DbError::Other, query.lastError().text()};
            return outcome;
        }
        const bool exists = query.value(0).toInt() > 0;
        query.finish();
        if (exists && options.skipExisting) {
            ++outcome.skipped;
            continue;
        }
        if (exists) {
            reject(0, tr(kExists).arg(key));
            continue;
        }
        if (rows)
            rows->append(values);
        ++outcome.added;
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
