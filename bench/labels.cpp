// 10,000 book labels to PDF, as the desk makes them on its worker: the books read from a
// library, the sheets laid out with libzint's barcodes, the PDF drawn and written; on an A4
// sheet and on a roll (a page a label). One book in ten has a Chinese number (a QR code).
//   build/bench/bench/lendora_bench_labels [runs]
#include "base/JobControl.h"
#include "core/catalogue/LabelBooks.h"
#include "core/settings/LabelStock.h"
#include "data/SharedDatabase.h"
#include "reports/DocumentRenderer.h"
#include "reports/LabelSheet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace lendora;

namespace {

constexpr int kBooks = 10000;

bool seed(SharedDatabase &database)
{
    QSqlDatabase db = database.db();
    if (!db.transaction())
        return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 登记日期) "
                                  "values (?, ?, 'I', '2026-03-02')"));
    for (int i = 0; i < kBooks; ++i) {
        insert.bindValue(0, i % 10 == 9 ? QStringLiteral("馆藏%1").arg(i, 6, 10, QLatin1Char('0'))
                                        : QStringLiteral("B%1").arg(i, 6, 10, QLatin1Char('0')));
        insert.bindValue(1, QStringLiteral("第%1册 中国古典文学名著丛书·校注本").arg(i));
        if (!insert.exec())
            return false;
    }
    return db.commit();
}

struct Times {
    double read = 0, sheets = 0, pdf = 0;
    double total() const { return read + sheets + pdf; }
};

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir dir;
    SharedDatabase database(QStringLiteral("bench-labels"));
    QString problem;
    if (!database.open(dir.filePath(QStringLiteral("Lendora.mdb")), &problem) || !seed(database)) {
        std::fprintf(stderr, "cannot make the library: %s\n", qPrintable(problem));
        return 1;
    }
    std::printf("%d labels, %d runs each, median:\n", kBooks, runs);
    for (const QString &id : {QStringLiteral("a4-3x8"), QStringLiteral("roll-50x30")}) {
        const LabelStock stock = *LabelStock::find(LabelStock::labelStocks(), id);
        QList<Times> all;
        qint64 bytes = 0;
        int pages = 0;
        for (int run = 0; run < runs; ++run) {
            Times times;
            QElapsedTimer timer;
            timer.start();
            LabelBooks store(database);
            const std::optional<QList<LabelBook>> books =
                store.range(QStringLiteral("0"), QStringLiteral("\U0010FFFF"));
            times.read = msSince(timer);
            if (!books || books->size() != kBooks) {
                std::fprintf(stderr, "read %lld books\n", books ? qint64(books->size()) : -1LL);
                return 1;
            }
            JobControl job;
            timer.restart();
            QString error;
            const std::optional<Document> document = LabelSheet::bookLabels(
                *books, QStringLiteral("岚枢市第一中学图书馆"), stock, 0, &job, &error);
            times.sheets = msSince(timer);
            const QString pdf = dir.filePath(id + QStringLiteral(".pdf"));
            timer.restart();
            if (!document || !DocumentRenderer::writePdf(*document, pdf, &error, &pages, &job)) {
                std::fprintf(stderr, "failed: %s\n", qPrintable(error));
                return 1;
            }
            times.pdf = msSince(timer);
            bytes = QFileInfo(pdf).size();
            all << times;
        }
        std::sort(all.begin(), all.end(),
                  [](const Times &a, const Times &b) { return a.total() < b.total(); });
        const Times &median = all.at(all.size() / 2);
        std::printf("%-11s %5d pages %6.1f MB  read %6.0f ms  sheets %6.0f ms  pdf %6.0f ms  "
                    "total %6.0f ms\n",
                    qPrintable(id), pages, double(bytes) / 1e6, median.read, median.sheets,
                    median.pdf, median.total());
    }
    return 0;
}
