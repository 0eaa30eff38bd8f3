#pragma once

#include "core/query/StatisticsViews.h"

#include <QDate>
#include <QList>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>

class QLabel;
class QStandardItemModel;
class QTableView;

namespace Ui {
class StatisticsWindow;
}

namespace lendora {

class ChartView;
class WindowContext;

// FrmStatistics: the loans of a range of days at a glance, one tab per view, each a chart
// beside its table; printable, exportable, and each chart saved as a picture. A view is
// counted when its tab is first shown for the range, so the window opens at once.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsWindow(WindowContext &context);
    ~StatisticsWindow() override;

private:
    struct Tab {
        StatisticsView::Kind kind = StatisticsView::Kind::Months;
        ChartView *chart = nullptr;
        QTableView *grid = nullptr;
        QLabel *note = nullptr;
        QStandardItemModel *model = nullptr;
        std::optional<StatisticsView> view;  // none until counted for the range
    };

    void addTab(StatisticsView::Kind kind);
    void rangeEdited();
    void count();
    // Counts the tab's view for the range unless it already is; false when the engine failed.
    bool load(Tab &tab);
    void display(Tab &tab);
    void print();
    // Writes the tab's table, every never-lent book included.
    void exportView(int index);
    void saveImage();
    QString fileStem(const Tab &tab) const;
    Tab &current();

    WindowContext &m_context;
    std::unique_ptr<Ui::StatisticsWindow> m_ui;
    QList<Tab> m_tabs;
    QDate m_from;  // the range counted
    QDate m_to;
    std::pair<QDate, QDate> m_edited;  // the range last counted or refused
};

}  // namespace lendora
