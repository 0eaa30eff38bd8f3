#include "cli/LabelCommands.h"

#include "cli/Library.h"

#include "base/DateText.h"
#include "base/DeskSettings.h"
#include "base/NumberList.h"
#include "core/catalogue/LabelBooks.h"
#include "core/readers/CardReaders.h"
#include "core/settings/LabelStock.h"
#include "data/SharedDatabase.h"
#include "reports/DocumentRenderer.h"
#include "reports/LabelSheet.h"

#include <QCoreApplication>
#include <QDir>

namespace lendora::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::LabelCommands", text);
}
const char *const kLabelsSynopsis = QT_TRANSLATE_NOOP(
    "lendora::LabelCommands",
    "(--from 编号 --to 编号 | --added yyyy-MM-dd[:yyyy-MM-dd] | --list 文件)\n"
    "         --pdf 文件 [--stock a4-3x8|a4-4x10|a4-2x7|roll-50x30|roll-40x30] [--skip N]");
const char *const kLabelsSummary = QT_TRANSLATE_NOOP(
    "lendora::LabelCommands",
    "图书条码标签写成 PDF: 编号范围(按文字比较,含两端)或登记日期内的图书按编号顺序,\n"
    "清单文件(每行一个编号,UTF-8)按文件中的顺序; 默认 a4-3x8; --skip 跳过第一张的前 N 个标签。");
const char *const kCardsSynopsis =
    QT_TRANSLATE_NOOP("lendora::LabelCommands",
                      "(--from 编号 --to 编号 | --list 文件) --pdf 文件 [--stock card|a4-2x5]");
const char *const kCardsSummary =
    QT_TRANSLATE_NOOP("lendora::LabelCommands",
                      "读者证写成 PDF: card 为证卡打印机每页一张,a4-2x5(默认)为 A4 纸每页 10 张。");
const char *const kChooseOne = QT_TRANSLATE_NOOP(
    "lendora::LabelCommands", "请给出 --from 和 --to、--added 或 --list 中的一种");
const char *const kChooseOneCards =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "请给出 --from 和 --to,或 --list,只给一种");
const char *const kNeedBoth =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "--from 和 --to 要一起给出");
const char *const kNoPdf = QT_TRANSLATE_NOOP("lendora::LabelCommands", "缺少 --pdf 文件");
const char *const kBadDate = QT_TRANSLATE_NOOP(
    "lendora::LabelCommands", "日期无效: %1(应为 yyyy-MM-dd 或 yyyy-MM-dd:yyyy-MM-dd)");
const char *const kBadStock =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "未知的规格: %1(可用: %2)");
const char *const kBadSkip =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "--skip 应为 0 到 %1 之间的整数: %2");
const char *const kEmpty =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "选择的范围内没有%1,没有写入文件。");
const char *const kBooks = QT_TRANSLATE_NOOP("lendora::LabelCommands", "图书");
const char *const kReaders = QT_TRANSLATE_NOOP("lendora::LabelCommands", "读者");
const char *const kNotInLibrary =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "书库中没有这个书籍编号: %1");
const char *const kNoReader = QT_TRANSLATE_NOOP("lendora::LabelCommands", "没有这个读者编号: %1");
const char *const kNothingWritten = QT_TRANSLATE_NOOP("lendora::LabelCommands", "没有写入文件。");
const char *const kCannotWrite =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "无法写入文件 %1,没有写入任何文件。");
const char *const kFailed = QT_TRANSLATE_NOOP("lendora::LabelCommands", "没有写入 %1: %2");
const char *const kWritten =
    QT_TRANSLATE_NOOP("lendora::LabelCommands", "已写入 %1: %2 张,%3 页\n");

const QString kFrom = QStringLiteral("--from");
const QString kTo = QStringLiteral("--to");
const QString kAdded = QStringLiteral("--added");
const QString kList = QStringLiteral("--list");
const QString kPdf = QStringLiteral("--pdf");
const QString kStock = QStringLiteral("--stock");
const QString kSkip = QStringLiteral("--skip");
const QString kHelp = QStringLiteral("--help");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<QDate> dayOf(const QString &text)
{
    const QDate day = QDate::fromString(text, QString::fromLatin1(DateText::kFormat));
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

// What both commands share: parsed, checked, and the library open to read.
struct Common {
    Options options;
    LabelStock stock;
    QString pdfPath;
    QString library;  // the name heading every label
};

// Parses the line and opens the library: nullopt when the command goes on, else the exit
// status it ends with, the reason said. Exactly one way of choosing must be given.
std::optional<int> prepare(const QStringList &arguments, const Run &run,
                           const QStringList &withValue, const QList<LabelStock> &stocks,
                           const QString &defaultStock, bool books, Common *common,
                           SharedDatabase &database)
{
    QString problem;
    const std::optional<Options> options = Options::parse(arguments, withValue, {kHelp}, &problem);
    if (!options)
        return run.usageError(problem);
    if (options->flags.contains(kHelp)) {
        run.out->write(run.usage.toUtf8());
        return Done;
    }
    const QMap<QString, QString> &values = options->values;
    if (values.contains(kFrom) != values.contains(kTo))
        return run.usageError(tr(kNeedBoth));
    const int ways =
        int(values.contains(kFrom)) + int(values.contains(kAdded)) + int(values.contains(kList));
    if (ways != 1)
        return run.usageError(tr(books ? kChooseOne : kChooseOneCards));
    if (values.value(kPdf).isEmpty())
        return run.usageError(tr(kNoPdf));
    const QString stockId = values.value(kStock, defaultStock);
    const std::optional<LabelStock> stock = LabelStock::find(stocks, stockId);
    if (!stock) {
        QStringList ids;
        for (const LabelStock &known : stocks)
            ids << known.id;
        return run.usageError(tr(kBadStock).arg(stockId, ids.join(QLatin1Char('|'))));
    }
    if (values.contains(kAdded)) {
        const QStringList days = values.value(kAdded).split(QLatin1Char(':'));
        const std::optional<QDate> first = dayOf(days.value(0));
        const std::optional<QDate> last = days.size() == 2 ? dayOf(days.at(1)) : first;
        if (days.size() > 2 || !first || !last || *first > *last)
            return run.usageError(tr(kBadDate).arg(values.value(kAdded)));
    }
    common->options = *options;
    common->stock = *stock;
    common->pdfPath = values.value(kPdf);
    if (!canPut(common->pdfPath)) {
        run.say(tr(kCannotWrite).arg(shown(common->pdfPath)));
        return Refused;
    }
    common->library = DeskSettings::inFolder(run.appDir).libraryName();
    if (const int opened = openToRead(run, database); opened != Done)
        return opened;
    return std::nullopt;
}

// The numbers of --list, or the exit status with the reason said.
std::optional<QStringList> listed(const Run &run, const QString &path, int *status)
{
    QString problem;
    std::optional<QStringList> numbers = readNumberList(path, &problem);
    if (!numbers) {
        run.say(problem);
        *status = Refused;
    }
    return numbers;
}

int write(const Run &run, const Common &common, const std::optional<Document> &document,
          const QString &error, int count)
{
    QString why = error;
    int pages = 0;
    if (!document || !DocumentRenderer::writePdf(*document, common.pdfPath, &why, &pages)) {
        run.say(tr(kFailed).arg(shown(common.pdfPath), why));
        return Refused;
    }
    run.out->write(tr(kWritten).arg(shown(common.pdfPath)).arg(count).arg(pages).toUtf8());
    return Done;
}

int refuseMissing(const Run &run, const QStringList &missing, const char *text)
{
    for (const QString &number : missing)
        run.say(tr(text).arg(number));
    run.say(tr(kNothingWritten));
    return Refused;
}

int labels(const QStringList &arguments, const Run &run)
{
    Common common;
    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const std::optional<int> ended =
            prepare(arguments, run, {kFrom, kTo, kAdded, kList, kPdf, kStock, kSkip},
                    LabelStock::labelStocks(), QStringLiteral("a4-3x8"), true, &common, database))
        return *ended;
    const QMap<QString, QString> &values = common.options.values;
    int skip = 0;
    if (values.contains(kSkip)) {
        bool ok = false;
        skip = values.value(kSkip).toInt(&ok);
        const int most = common.stock.roll ? 0 : common.stock.perPage() - 1;
        if (!ok || skip < 0 || skip > most)
            return run.usageError(tr(kBadSkip).arg(most).arg(values.value(kSkip)));
    }

    LabelBooks store(database);
    std::optional<QList<LabelBook>> books;
    QStringList missing;
    if (values.contains(kFrom)) {
        books = store.range(values.value(kFrom), values.value(kTo));
    } else if (values.contains(kAdded)) {
        const QStringList days = values.value(kAdded).split(QLatin1Char(':'));
        books = store.added(*dayOf(days.first()), *dayOf(days.last()));
    } else {
        int status = Done;
        const std::optional<QStringList> ids = listed(run, values.value(kList), &status);
        if (!ids)
            return status;
        books = store.listed(*ids, &missing);
    }
    if (!books)
        return readFailed(run, store.lastError());
    if (!missing.isEmpty())
        return refuseMissing(run, missing, kNotInLibrary);
    if (books->isEmpty()) {
        run.say(tr(kEmpty).arg(tr(kBooks)));
        return Refused;
    }
    QString error;
    const std::optional<Document> document =
        LabelSheet::bookLabels(*books, common.library, common.stock, skip, nullptr, &error);
    return write(run, common, document, error, int(books->size()));
}

int cards(const QStringList &arguments, const Run &run)
{
    Common common;
    SharedDatabase database(QStringLiteral("lendora-cli"));
    if (const std::optional<int> ended =
            prepare(arguments, run, {kFrom, kTo, kList, kPdf, kStock}, LabelStock::cardStocks(),
                    QStringLiteral("a4-2x5"), false, &common, database))
        return *ended;
    const QMap<QString, QString> &values = common.options.values;
    CardReaders store(database);
    std::optional<QList<CardReader>> readers;
    QStringList missing;
    if (values.contains(kFrom)) {
        readers = store.range(values.value(kFrom), values.value(kTo));
    } else {
        int status = Done;
        const std::optional<QStringList> numbers = listed(run, values.value(kList), &status);
        if (!numbers)
            return status;
        readers = store.listed(*numbers, &missing);
    }
    if (!readers)
        return readFailed(run, store.lastError());
    if (!missing.isEmpty())
        return refuseMissing(run, missing, kNoReader);
    if (readers->isEmpty()) {
        run.say(tr(kEmpty).arg(tr(kReaders)));
        return Refused;
    }
    QString error;
    const std::optional<Document> document =
        LabelSheet::readerCards(*readers, common.library, common.stock, nullptr, &error);
    return write(run, common, document, error, int(readers->size()));
}
}  // namespace

Command labelsCommand()
{
    return {QStringLiteral("labels"), tr(kLabelsSynopsis), tr(kLabelsSummary), labels};
}

Command cardsCommand()
{
    return {QStringLiteral("cards"), tr(kCardsSynopsis), tr(kCardsSummary), cards};
}

}  // namespace lendora::cli
