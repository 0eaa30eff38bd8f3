#include "PdfText.h"
#include "reports/DocumentRenderer.h"
#include "reports/StatisticsDocument.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;

namespace {

StatisticsView monthsView()
{
    StatisticsView view;
    view.kind = StatisticsView::Kind::Months;
    view.title = QStringLiteral("每月借出与归还");
    view.headers = {QStringLiteral("月份"), QStringLiteral("借出册次"), QStringLiteral("归还册次")};
    view.figures = {false, true, true};
    view.seriesNames = {QStringLiteral("借出"), QStringLiteral("归还")};
    view.series = {{}, {}};
    for (int m = 1; m <= 12; ++m) {
        const QString month = QStringLiteral("2026-%1").arg(m, 2, 10, QLatin1Char('0'));
        view.rows.append({month, QString::number(40 + m), QString::number(30 + m)});
        view.labels.append(QStringLiteral("%1月").arg(m));
        view.series[0].append(40 + m);
        view.series[1].append(30 + m);
    }
    return view;
}

StatisticsView categoriesView()
{
    StatisticsView view;
    view.kind = StatisticsView::Kind::Categories;
    view.title = QStringLiteral("各类图书借阅次数");
    view.headers = {QStringLiteral("类别代码"), QStringLiteral("书籍类别"),
                    QStringLiteral("借阅次数"), QStringLiteral("占比")};
    view.figures = {false, false, true, true};
    view.rows = {{QStringLiteral("I"), QStringLiteral("文学"), QStringLiteral("317"),
                  QStringLiteral("62.5%")},
                 {QStringLiteral("K"), QStringLiteral("历史、地理"), QStringLiteral("190"),
                  QStringLiteral("37.5%")}};
    view.labels = {QStringLiteral("文学"), QStringLiteral("历史、地理")};
    view.shares = {QStringLiteral("62.5%"), QStringLiteral("37.5%")};
    view.seriesNames = {QString()};
    view.series = {{317, 190}};
    view.horizontal = true;
    return view;
}

StatisticsView neverLentView()
{
    StatisticsView view;
    view.kind = StatisticsView::Kind::NeverLent;
    view.title = QStringLiteral("从未借出的图书");
    view.headers = {QStringLiteral("书籍编号"), QStringLiteral("书籍名称")};
    view.figures = {false, false};
    view.rows = {{QStringLiteral("B0815"), QStringLiteral("天工开物")}};
    view.labels = {QStringLiteral("工业技术")};
    view.series = {{1}};
    view.horizontal = true;
    view.note = QStringLiteral("共 9 册图书从未借出,这里列出编号最小的 1 册。");
    return view;
}

}  // namespace

class StatisticsDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void viewPerPage_data();
    void viewPerPage();
};

void StatisticsDocumentTest::viewPerPage_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("rangeLine");
    QTest::newRow("with the library")
        << QStringLiteral("城东图书馆")
        << QStringLiteral("城东图书馆 统计期间:2026-01-01 至 2026-12-08");
    QTest::newRow("without") << QString() << QStringLiteral("统计期间:2026-01-01 至 2026-12-08");
}

void StatisticsDocumentTest::viewPerPage()
{
    QFETCH(QString, library);
    QFETCH(QString, rangeLine);
    const QList<StatisticsView> views{monthsView(), categoriesView(), neverLentView()};
    // Per view, a category of its chart or table and one of its figures.
    const QList<QStringList> marks{{QStringLiteral("12月"), QStringLiteral("52")},
                                   {QStringLiteral("历史、地理"), QStringLiteral("62.5%")},
                                   {QStringLiteral("天工开物"), views.at(2).note}};
    const Document document =
        statisticsDocument(library, QDate(2026, 1, 1), QDate(2026, 12, 8), views);
    QCOMPARE(document.title, QStringLiteral("借阅统计"));
    QVERIFY(document.pageLayout().fullRect().width() > document.pageLayout().fullRect().height());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("statistics.pdf"));
    QString error;
    QVERIFY2(DocumentRenderer::writePdf(document, path, &error), qPrintable(error));
    const QStringList pages = testkit::pdfPages(path);
    QCOMPARE(pages.size(), views.size());
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString text = pages.at(p).simplified();
        for (qsizetype v = 0; v < views.size(); ++v)
            QCOMPARE(text.contains(views.at(v).title), v == p);
        QVERIFY2(text.contains(rangeLine), qPrintable(text));
        for (const QString &mark : marks.at(p))
            QVERIFY2(text.contains(mark), qPrintable(mark + QStringLiteral(" in ") + text));
    }
}

int runStatisticsTest(int argc, char *argv[])
{
    StatisticsDocumentTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_statistics.moc"
