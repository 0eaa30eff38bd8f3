#include "data/DbError.h"

#include <QCoreApplication>

namespace lendora {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::DbError", text);
}

const char *const kBusy = QT_TRANSLATE_NOOP(
    "lendora::DbError", "数据库正忙,另一个程序正在写入。没有做任何改动,请稍后再试。");
const char *const kDiskFull =
    QT_TRANSLATE_NOOP("lendora::DbError", "磁盘空间不足,没有做任何改动。");
const char *const kIoError =
    QT_TRANSLATE_NOOP("lendora::DbError", "读写数据库文件时磁盘出错,没有做任何改动。\n%1");
const char *const kReplaced =
    QT_TRANSLATE_NOOP("lendora::DbError", "数据库文件已被删除或替换,不再是程序打开的那个文件。\n"
                                          "没有做任何改动,程序将停止写入并退出。");
const char *const kUnchecked =
    QT_TRANSLATE_NOOP("lendora::DbError",
                      "数据库文件没有通过检查,可能已经损坏,为保护现有记录,程序不再保存任何改动。\n"
                      "这次没有做任何改动。请在 系统设置 → 备份与恢复 中用备份恢复数据库文件。");
const char *const kLost =
    QT_TRANSLATE_NOOP("lendora::DbError", "与数据库的连接已断开,没有做任何改动。\n%1");
const char *const kDuplicate =
    QT_TRANSLATE_NOOP("lendora::DbError", "已有相同编号或代码的记录,没有做任何改动。");
const char *const kOther =
    QT_TRANSLATE_NOOP("lendora::DbError", "数据库操作失败,没有做任何改动。\n%1");
const char *const kUnsure =
    QT_TRANSLATE_NOOP("lendora::DbError", "保存时出错(%1),无法确认这次改动是否已经保存。\n"
                                          "请重新查询该读者或书籍后再继续。");
// The cause inside kUnsure.
const char *const kCauseDiskFull = QT_TRANSLATE_NOOP("lendora::DbError", "磁盘空间不足");
const char *const kCauseIo = QT_TRANSLATE_NOOP("lendora::DbError", "磁盘读写出错");

}  // namespace

QString DbError::forClerk() const
{
    if (unsure) {
        const QString cause = kind == DiskFull  ? tr(kCauseDiskFull)
                              : kind == IoError ? tr(kCauseIo)
                                                : text;
        return tr(kUnsure).arg(cause);
    }
    switch (kind) {
    case Busy:
    case Retry:
        return tr(kBusy);
    case DiskFull:
        return tr(kDiskFull);
    case IoError:
        return tr(kIoError).arg(text);
    case Replaced:
        return tr(kReplaced);
    case Unchecked:
        return tr(kUnchecked);
    case ConnectionLost:
        return tr(kLost).arg(text);
    case UniqueViolation:
        return tr(kDuplicate);
    case None:
    case Other:
        break;
    }
    return tr(kOther).arg(text);
}

}  // namespace lendora
