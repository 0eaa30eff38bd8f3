#include "app/DeskCommandLine.h"

#include "base/Version.h"

#include <QCoreApplication>

namespace lendora {

namespace {
const char *const kUsage =
    QT_TRANSLATE_NOOP("lendora::DeskCommandLine",
                      "用法: lendora [--help | --version | --database 地址]\n"
                      "岚枢图书管理系统: 图书馆借还书柜台的程序。\n"
                      "  --help     显示本说明\n"
                      "  --version  显示版本\n"
                      "  --database postgresql://用户名@服务器:端口/数据库名\n"
                      "             使用服务器上多个柜台共用的图书馆"
                      "(也可写在 setting.ini 的 Database= 中)\n"
                      "界面语言: setting.ini 中 Language=zh_CN 为中文, Language=en 为英文;"
                      "没有这一项时按系统的语言环境。\n");
}  // namespace

DeskCommandLine::Answer DeskCommandLine::parse(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--version"))
            return Answer::Version;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return Answer::Help;
    }
    return Answer::Run;
}

QString DeskCommandLine::database(const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--database") && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (argument.startsWith(QLatin1String("--database=")))
            return argument.mid(11);
    }
    return {};
}

QString DeskCommandLine::versionText()
{
    return QStringLiteral("lendora ") + GetVersionText() + QLatin1Char('\n');
}

QString DeskCommandLine::helpText()
{
    return QCoreApplication::translate("lendora::DeskCommandLine", kUsage);
}

}  // namespace lendora
