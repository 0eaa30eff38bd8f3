#include "base/NumberList.h"

#include "base/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace lendora {

namespace {
const char *const kUnreadable =
    QT_TRANSLATE_NOOP("lendora::NumberList", "无法读取编号清单文件 %1。");
const char *const kNotText =
    QT_TRANSLATE_NOOP("lendora::NumberList", "编号清单文件 %1 不是 UTF-8 文本。");
const char *const kEmpty = QT_TRANSLATE_NOOP("lendora::NumberList", "编号清单文件 %1 中没有编号。");

QString said(const char *text, const QString &path)
{
    return QCoreApplication::translate("lendora::NumberList", text)
        .arg(QDir::toNativeSeparators(path));
}
}  // namespace

std::optional<QStringList> readNumberList(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = said(kUnreadable, path);
        return std::nullopt;
    }
    bool lossy = false;
    const QString text = TextFile::decode(file.readAll(), nullptr, &lossy);
    if (lossy) {
        *problem = said(kNotText, path);
        return std::nullopt;
    }
    QStringList numbers;
    for (const QString &line : TextFile::splitLines(text)) {
        const QString number = line.trimmed();
        if (!number.isEmpty())
            numbers << number;
    }
    if (numbers.isEmpty()) {
        *problem = said(kEmpty, path);
        return std::nullopt;
    }
    return numbers;
}

}  // namespace lendora
