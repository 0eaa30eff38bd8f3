#include "data/SharedDatabase.h"

#include "data/DatabaseFile.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace lendora {

namespace {
const QString kIsFolder =
    QStringLiteral("数据库文件的位置 %1 是一个文件夹,不是文件。\n程序没有改动它,即将退出。");
const QString kReadOnly =
    QStringLiteral("数据库文件 %1 是只读文件,借还记录无法保存。\n请取消它的只读属性后再启动程序。");
const QString kCannotCreate = QStringLiteral("无法建立数据库文件 %1(%2)。\n程序即将退出。");
const QString kCannotOpen = QStringLiteral("无法打开数据库文件 %1(%2)。\n程序即将退出。");
}  // namespace

SharedDatabase::SharedDatabase(QString connectionName) : m_name(std::move(connectionName)) {}

SharedDatabase::~SharedDatabase()
{
    close();
}

bool SharedDatabase::open(const QString &path, QString *problem)
{
    close();
    const auto refuse = [&](const QString &text) {
        drop();
        if (problem)
            *problem = text;
        return false;
    };
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return refuse(kIsFolder.arg(shown));
    if (!info.exists()) {
        QString error;
        if (!DatabaseFile::create(path, &error))
            return refuse(kCannotCreate.arg(shown, error));
    }
    if (const QString bad = DatabaseFile::checkFile(path); !bad.isEmpty())
        return refuse(bad);
    if (!(QFile::permissions(path) & QFileDevice::WriteOwner))
        return refuse(kReadOnly.arg(shown));

    // Every query and handle of the checks is gone before a refusal drops the connection.
    const QString bad = [&]() -> QString {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            return kCannotOpen.arg(shown, db.lastError().text());
        const bool uncleanEnd = QFile::exists(DatabaseFile::markerPath(path));
        if (QString content = DatabaseFile::checkContent(db, path, uncleanEnd); !content.isEmpty())
            return content;
        int userVersion = Schema::kVersion;
        {
            QSqlQuery version(db);
            if (version.exec(QStringLiteral("PRAGMA user_version")) && version.next())
                userVersion = version.value(0).toInt();
        }
        QString error;
        if (!DatabaseFile::configure(db, false, &error)
            || !Schema::upgrade(db, userVersion, &error))
            return kCannotOpen.arg(shown, error);
        return {};
    }();
    if (!bad.isEmpty())
        return refuse(bad);

    QFile marker(DatabaseFile::markerPath(path));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        marker.close();
    m_path = path;
    m_open = true;
    return true;
}

void SharedDatabase::close()
{
    const bool wasOpen = m_open;
    drop();
    if (wasOpen)
        QFile::remove(DatabaseFile::markerPath(m_path));
}

QSqlQuery &SharedDatabase::prepared(const QString &sql)
{
    auto &statement = m_statements[sql];
    if (!statement) {
        statement = std::make_shared<QSqlQuery>(db());
        statement->setForwardOnly(true);
        statement->prepare(sql);
    }
    return *statement;
}

int SharedDatabase::change(const QString &sql, const QVariantList &values, QString *error)
{
    QSqlQuery &query = prepared(sql);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const bool nullText =
            value.typeId() == QMetaType::QString && value.toString().isNull() && !value.isNull();
        query.bindValue(i, nullText ? QVariant(QStringLiteral("")) : value);
    }
    const bool ok = query.exec();
    const int rows = ok ? query.numRowsAffected() : -1;
    if (!ok && error)
        *error = query.lastError().text();
    query.finish();
    return rows;
}

void SharedDatabase::drop()
{
    m_open = false;
    m_statements.clear();
    if (QSqlDatabase::contains(m_name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool SharedDatabase::isOpen() const
{
    return m_open;
}

QSqlDatabase SharedDatabase::db() const
{
    return QSqlDatabase::database(m_name, false);
}

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db))
{
    m_active = m_db.transaction();
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.commit())
        return true;
    m_db.rollback();
    return false;
}

}  // namespace lendora
