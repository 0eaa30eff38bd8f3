#include "PdfText.h"
#include "reports/DocumentRenderer.h"
#include "reports/StatisticsDocument.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;

namespace {

// A view whose chart draws its first figure column over the names in labelColumn.
StatisticsView view(const QString &title, const QStringList &headers, const QList<bool> &figures,
                    const QList<QStringList> &rows, int labelColumn, const QString &note = {})
{
    StatisticsView view;
    view.title = title;
    view.headers = headers;
    view.figures = figures;
    view.rows = rows;
    view.note = note;
    view.series = {{}};
    for (const QStringList &row : rows) {
        view.labels << row.at(labelColumn);
        view.series[0] << row.at(int(figures.indexOf(true))).toDouble();
    }
    view.horizontal = labelColumn > 0;
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
    QList<QStringList> months;
    for (int m = 1; m <= 12; ++m)
        months << QStringList{QStringLiteral("%1月").arg(m), QString::number(40 + m)};
    const QList<StatisticsView> views{
        view(QStringLiteral("每月借出册次"), {QStringLiteral("月份"), QStringLiteral("借出册次")},
             {false, true}, months, 0),
        view(QStringLiteral("各类图书借阅次数"),
             {QStringLiteral("类别代码"), QStringLiteral("书籍类别"), QStringLiteral("借阅次数")},
             {false, false, true},
             {{QStringLiteral("I"), QStringLiteral("文学"), QStringLiteral("317")},
              {QStringLiteral("K"), QStringLiteral("历史、地理"), QStringLiteral("190")}},
             1),
        view(QStringLiteral("借阅最多的读者"),
             {QStringLiteral("读者姓名"), QStringLiteral("借阅次数")}, {false, true},
             {{QStringLiteral("王小明"), QStringLiteral("23")}}, 0,
             QStringLiteral("共 9 位读者借过书,这里列出最多的 1 位。"))};
    // Per view, a category of its chart or table and one of its figures.
    const QList<QStringList> marks{{QStringLiteral("12月"), QStringLiteral("52")},
                                   {QStringLiteral("历史、地理"), QStringLiteral("317")},
                                   {QStringLiteral("王小明"), views.at(2).note}};
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
