#include "cli/Cli.h"

#include "base/DeskSettings.h"
#include "base/Version.h"

#include <QCoreApplication>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::Cli", text);
}
const char *const kUsage = QT_TRANSLATE_NOOP(
    "lendora::Cli", "用法: lendora-cli [--app-dir 目录] [--database 地址] 命令 ...\n"
                    "  --app-dir 目录  程序目录(默认: 本程序所在的目录)\n"
                    "  --database 地址 服务器上的图书馆,"
                    "postgresql://用户名@服务器:端口/数据库名\n"
                    "                  (默认: 程序目录中 setting.ini 的 Database=)\n"
                    "  --help          显示本说明\n"
                    "  --version       显示版本\n"
                    "命令:\n");
const char *const kStatuses = QT_TRANSLATE_NOOP(
    "lendora::Cli", "退出状态: 0 完成; 1 拒绝(文件或数据有问题,没有写入); 2 用法错误;"
                    " 3 数据库不可用或正忙\n");
const char *const kNoCommand = QT_TRANSLATE_NOOP("lendora::Cli", "没有给出命令");
const char *const kUnknownCommand = QT_TRANSLATE_NOOP("lendora::Cli", "未知的命令: %1");
const char *const kUnknownOption = QT_TRANSLATE_NOOP("lendora::Cli", "未知的选项: %1");
const char *const kRepeated = QT_TRANSLATE_NOOP("lendora::Cli", "选项重复: %1");
const char *const kNoValue = QT_TRANSLATE_NOOP("lendora::Cli", "选项 %1 缺少值");
const char *const kNoFlagValue = QT_TRANSLATE_NOOP("lendora::Cli", "选项 %1 不带值");
const char *const kStray = QT_TRANSLATE_NOOP("lendora::Cli", "多余的参数: %1");

const QString kProgram = QStringLiteral("lendora-cli");
const QString kAppDir = QStringLiteral("--app-dir");
const QString kDatabase = QStringLiteral("--database");
const QString kHelp = QStringLiteral("--help");
const QString kVersion = QStringLiteral("--version");

void write(QIODevice *device, const QString &text)
{
    if (device)
        device->write(text.toUtf8());
}
}  // namespace

void Run::say(const QString &line) const
{
    write(err, kProgram + QStringLiteral(": ") + line + QLatin1Char('\n'));
}

int Run::usageError(const QString &line) const
{
    say(line);
    write(err, usage);
    return Usage;
}

std::optional<Options> Options::parse(const QStringList &arguments, const QStringList &withValue,
                                      const QStringList &flags, QString *error)
{
    Options options;
    const auto refuse = [error](const char *text, const QString &what) {
        if (error)
            *error = tr(text).arg(what);
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (!name.startsWith(QLatin1String("--")))
            return refuse(kStray, argument);
        if (options.values.contains(name) || options.flags.contains(name))
            return refuse(kRepeated, name);
        if (flags.contains(name)) {
            if (equals >= 0)
                return refuse(kNoFlagValue, name);
            options.flags << name;
        } else if (withValue.contains(name)) {
            if (equals >= 0) {
                options.values.insert(name, argument.mid(equals + 1));
            } else if (i + 1 < arguments.size()) {
                options.values.insert(name, arguments.at(++i));
            } else {
                return refuse(kNoValue, name);
            }
        } else {
            return refuse(kUnknownOption, name);
        }
    }
    return options;
}

Cli::Cli(std::function<QString()> defaultAppDir, QDate today, QIODevice &out, QIODevice &err)
    : m_defaultAppDir(std::move(defaultAppDir)), m_today(today), m_out(out), m_err(err)
{}

void Cli::add(Command command)
{
    m_commands << std::move(command);
}

QString Cli::usage() const
{
    QString text = tr(kUsage);
    for (const Command &command : m_commands) {
        text += QStringLiteral("  ") + command.name
                + (command.synopsis.isEmpty() ? QString() : QLatin1Char(' ') + command.synopsis)
                + QLatin1Char('\n');
        for (const QString &line : command.summary.split(QLatin1Char('\n')))
            text += QStringLiteral("      ") + line + QLatin1Char('\n');
    }
    return text + tr(kStatuses);
}

int Cli::run(const QStringList &arguments)
{
    Run run;
    run.today = m_today;
    run.out = &m_out;
    run.err = &m_err;
    run.usage = usage();

    // The global options end at the first word that is not one of them: the command.
    qsizetype next = 0;
    std::optional<QString> appDir;
    std::optional<QString> database;
    while (next < arguments.size() && arguments.at(next).startsWith(QLatin1String("--"))) {
        const QString &argument = arguments.at(next);
        if (argument == kHelp) {
            write(&m_out, run.usage);
            return Done;
        }
        if (argument == kVersion) {
            write(&m_out, kProgram + QLatin1Char(' ') + GetVersionText() + QLatin1Char('\n'));
            return Done;
        }
        if (argument == kDatabase || argument.startsWith(kDatabase + QLatin1Char('='))) {
            if (database)
                return run.usageError(tr(kRepeated).arg(kDatabase));
            if (argument == kDatabase) {
                if (next + 1 >= arguments.size())
                    return run.usageError(tr(kNoValue).arg(kDatabase));
                database = arguments.at(next + 1);
                next += 2;
            } else {
                database = argument.mid(kDatabase.size() + 1);
                ++next;
            }
            if (database->isEmpty())
                return run.usageError(tr(kNoValue).arg(kDatabase));
        } else if (argument.startsWith(kAppDir + QLatin1Char('='))) {
            if (appDir)
                return run.usageError(tr(kRepeated).arg(kAppDir));
            appDir = argument.mid(kAppDir.size() + 1);
            ++next;
        } else if (argument == kAppDir) {
            if (appDir)
                return run.usageError(tr(kRepeated).arg(kAppDir));
            if (next + 1 >= arguments.size())
                return run.usageError(tr(kNoValue).arg(kAppDir));
            appDir = arguments.at(next + 1);
            next += 2;
        } else {
            return run.usageError(tr(kUnknownOption).arg(argument));
        }
    }
    if (appDir && appDir->isEmpty())
        return run.usageError(tr(kNoValue).arg(kAppDir));
    if (next >= arguments.size())
        return run.usageError(tr(kNoCommand));
    const QString name = arguments.at(next);
    for (const Command &command : std::as_const(m_commands)) {
        if (command.name != name)
            continue;
        run.appDir = appDir ? *appDir : m_defaultAppDir();
        run.database = database ? *database : DeskSettings::inFolder(run.appDir).database();
        return command.run(arguments.mid(next + 1), run);
    }
    return run.usageError(tr(kUnknownCommand).arg(name));
}

}  // namespace lendora::cli
