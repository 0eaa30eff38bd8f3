#include "data/postgres/ServerAddress.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QUrl>

namespace lendora {

namespace {

const char *const kBadAddress = QT_TRANSLATE_NOOP(
    "ServerAddress", "数据库地址“%1”无法识别。\n请写成 postgresql://用户名@服务器:端口/数据库名。");
const char *const kPasswordInAddress = QT_TRANSLATE_NOOP(
    "ServerAddress", "数据库地址中不能写密码。\n请把密码写在 ~/.pgpass 中或设置 PGPASSWORD。");

QString tr(const char *text)
{
    return QCoreApplication::translate("ServerAddress", text);
}

QString decoded(QStringView part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

}  // namespace

bool ServerAddress::isServer(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://"))
           || text.startsWith(QLatin1String("postgres://"));
}

std::optional<ServerAddress> ServerAddress::parse(const QString &text, QString *problem)
{
    const auto refuse = [&](const char *why) -> std::optional<ServerAddress> {
        if (problem)
            *problem = why == kBadAddress ? tr(why).arg(text) : tr(why);
        return std::nullopt;
    };
    if (!isServer(text))
        return refuse(kBadAddress);
    QStringView rest = QStringView(text).mid(text.indexOf(QLatin1String("://")) + 3);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return refuse(kBadAddress);
    QStringView authority = rest.left(slash);
    QStringView path = rest.mid(slash + 1);
    if (const qsizetype query = path.indexOf(QLatin1Char('?')); query >= 0)
        path = path.left(query);
    ServerAddress address;
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QStringView userInfo = authority.left(at);
        if (userInfo.contains(QLatin1Char(':')))
            return refuse(kPasswordInAddress);
        address.user = decoded(userInfo);
        authority = authority.mid(at + 1);
    }
    // A socket folder is written %2F...; a name may end in :port.
    if (const qsizetype colon = authority.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        bool ok = false;
        address.port = authority.mid(colon + 1).toInt(&ok);
        if (!ok || address.port <= 0 || address.port > 65535)
            return refuse(kBadAddress);
        authority = authority.left(colon);
    }
    address.host = decoded(authority);
    address.database = decoded(path);
    if (address.database.isEmpty() || address.database.contains(QLatin1Char('/')))
        return refuse(kBadAddress);
    return address;
}

QString ServerAddress::url() const
{
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += QString::fromUtf8(QUrl::toPercentEncoding(user)) + QLatin1Char('@');
    text += QString::fromUtf8(QUrl::toPercentEncoding(host));
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    return text + QLatin1Char('/') + QString::fromUtf8(QUrl::toPercentEncoding(database));
}

ServerAddress ServerAddress::withDatabase(const QString &name) const
{
    ServerAddress other = *this;
    other.database = name;
    return other;
}

void ServerAddress::applyTo(QSqlDatabase &db) const
{
    db.setHostName(host);
    if (port > 0)
        db.setPort(port);
    db.setUserName(user);
    db.setDatabaseName(database);
    // A server that does not answer is reported rather than waited for; every statement
    // waits for a row another desk has locked a few seconds at most; a prepared statement
    // is planned for its values (a text of two characters is read differently from one of
    // ten). The desk's words reach the server as UTF-8 whatever the client's locale.
    db.setConnectOptions(
        QStringLiteral("connect_timeout=5;client_encoding=UTF8;"
                       "options='-c lock_timeout=5000 -c plan_cache_mode=force_custom_plan'"));
}

}  // namespace lendora
