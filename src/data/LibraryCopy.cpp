#include "data/LibraryCopy.h"

#include "data/Schema.h"
#include "data/SqlDialect.h"

#include <QCryptographicHash>
#include <QDate>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QtEndian>
#include <algorithm>

namespace lendora {

namespace {

// The tables whose rows keep their entry numbers: the lists show books and loans in the
// order they were entered.
bool keyed(const QString &table)
{
    return table == QLatin1String("bookInfo") || table == QLatin1String("lentInfo");
}

// The column a row key is kept in, as an insert names it: the key without its table.
QString keyColumn(const SqlDialect &dialect, const QString &table)
{
    const QString key = dialect.rowKey(table);
    return key.mid(key.lastIndexOf(QLatin1Char('.')) + 1);
}

QStringList columnsOf(const Schema::Table &table, const SqlDialect &dialect, bool reading)
{
    QStringList columns = table.columns;
    if (keyed(table.name))
        columns << (reading ? dialect.rowKey(table.name) : keyColumn(dialect, table.name));
    return columns;
}

QString selectAll(const Schema::Table &table, const SqlDialect &dialect)
{
    return QStringLiteral("select %1 from %2%3")
        .arg(columnsOf(table, dialect, true).join(QLatin1Char(',')), table.name,
             keyed(table.name) ? QStringLiteral(" order by ") + dialect.rowKey(table.name)
                               : QString());
}

// One value as both engines hand it over: dates as ISO text, whole numbers as integers.
QVariant canonical(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toLongLong();
    default:
        return value;
    }
}

bool fail(const QSqlQuery &query, QString *error)
{
    if (error)
        *error = query.lastError().text();
    return false;
}

}  // namespace

bool LibraryCopy::copy(QSqlDatabase &from, const SqlDialect &fromDialect, QSqlDatabase &to,
                       const SqlDialect &toDialect, QString *error)
{
    // Many rows per statement: a server answers each statement over the network, and one
    // row each took 130 µs a row.
    constexpr int kRowsPerInsert = 200;
    for (const Schema::Table &table : Schema::tables()) {
        QSqlQuery clear(to);
        if (!clear.exec(QStringLiteral("delete from ") + table.name))
            return fail(clear, error);
        const QStringList columns = columnsOf(table, toDialect, false);
        const int width = int(columns.size());
        const QString row = QLatin1Char('(')
                            + QStringList(width, QStringLiteral("?")).join(QLatin1Char(','))
                            + QLatin1Char(')');
        const auto insertOf = [&](int rows) {
            return QStringLiteral("insert into %1 (%2) values %3")
                .arg(table.name, columns.join(QLatin1Char(',')),
                     QStringList(rows, row).join(QLatin1Char(',')));
        };
        QSqlQuery full(to);
        if (!full.prepare(insertOf(kRowsPerInsert)))
            return fail(full, error);
        QSqlQuery read(from);
        read.setForwardOnly(true);
        if (!read.exec(selectAll(table, fromDialect)))
            return fail(read, error);
        // A null keeps its column's kind, so no engine reads it as text.
        const QSqlRecord kinds = read.record();
        QVariantList pending;
        const auto flush = [&](QSqlQuery &insert) {
            for (int i = 0; i < pending.size(); ++i)
                insert.bindValue(i, pending.at(i));
            pending.clear();
            return insert.exec();
        };
        while (read.next()) {
            for (int c = 0; c < width; ++c) {
                const QVariant value = canonical(read.value(c));
                pending << (value.isNull() ? QVariant(kinds.field(c).metaType()) : value);
            }
            if (pending.size() == kRowsPerInsert * width && !flush(full))
                return fail(full, error);
        }
        if (read.lastError().isValid())
            return fail(read, error);
        if (!pending.isEmpty()) {
            QSqlQuery rest(to);
            if (!rest.prepare(insertOf(int(pending.size()) / width)) || !flush(rest))
                return fail(rest, error);
        }
    }
    return true;
}

bool LibraryCopy::digest(QSqlDatabase &db, const SqlDialect &dialect, const QString &table,
                         Digest *into, QString *error)
{
    const auto found = std::find_if(Schema::tables().cbegin(), Schema::tables().cend(),
                                    [&](const Schema::Table &t) { return t.name == table; });
    if (found == Schema::tables().cend())
        return false;
    QSqlQuery read(db);
    read.setForwardOnly(true);
    if (!read.exec(selectAll(*found, dialect)))
        return fail(read, error);
    Digest digest;
    const int width = int(columnsOf(*found, dialect, true).size());
    while (read.next()) {
        // Each value typed and separated, so "1" and 1, or ("a", "bc") and ("ab", "c"),
        // differ; doubles by their 17 significant digits, which tell every two apart.
        QByteArray text;
        for (int c = 0; c < width; ++c) {
            const QVariant value = canonical(read.value(c));
            if (value.isNull())
                text += "N;";
            else if (value.typeId() == QMetaType::LongLong)
                text += "I" + QByteArray::number(value.toLongLong()) + ';';
            else if (value.typeId() == QMetaType::Double)
                text += "R" + QByteArray::number(value.toDouble(), 'g', 17) + ';';
            else {
                const QByteArray bytes = value.toString().toUtf8();
                text += "T" + QByteArray::number(bytes.size()) + ':' + bytes + ';';
            }
        }
        const QByteArray hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256);
        digest.sum += qFromLittleEndian<quint64>(hash.constData());
        ++digest.rows;
    }
    if (read.lastError().isValid())
        return fail(read, error);
    *into = digest;
    return true;
}

QString LibraryCopy::unstorable(QSqlDatabase &db, const SqlDialect &dialect, QString *error)
{
    for (const Schema::Table &table : Schema::tables()) {
        QSqlQuery read(db);
        read.setForwardOnly(true);
        if (!read.exec(selectAll(table, dialect))) {
            fail(read, error);
            return {};
        }
        qint64 row = 0;
        const int width = read.record().count();
        while (read.next()) {
            ++row;
            for (int c = 0; c < width; ++c) {
                const QVariant value = read.value(c);
                if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(0)))
                    return QStringLiteral("%1 %2").arg(table.name).arg(row);
            }
        }
    }
    return {};
}

}  // namespace lendora
