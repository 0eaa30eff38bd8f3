#pragma once

#include <QObject>

class QWidget;

namespace lendora {

// The query windows' arrangement: the criteria at the top at their own size, the result
// heading above the grid, and the grid stretched with the window: its width is the window's
// less `lessWidth`, its height the window's less `lessHeight` (both in pixels), for as long as
// the window is larger than that; otherwise the grid keeps its size.
class QueryLayout : public QObject {
    Q_OBJECT
public:
    static void hold(QWidget *window, QWidget *criteria, QWidget *heading, QWidget *grid,
                     int lessWidth, int lessHeight);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QueryLayout(QWidget *window, QWidget *criteria, QWidget *heading, QWidget *grid, int lessWidth,
                int lessHeight);
    void apply();

    QWidget *m_window;
    QWidget *m_grid;
    int m_lessWidth;
    int m_lessHeight;
};

}  // namespace lendora
