#include "gui/widgets/QueryLayout.h"

#include <QEvent>
#include <QWidget>

namespace lendora {

namespace {
constexpr int kMargin = 8;
}

void QueryLayout::hold(QWidget *window, QWidget *criteria, QWidget *heading, QWidget *grid,
                       int lessWidth, int lessHeight)
{
    new QueryLayout(window, criteria, heading, grid, lessWidth, lessHeight);
}

QueryLayout::QueryLayout(QWidget *window, QWidget *criteria, QWidget *heading, QWidget *grid,
                         int lessWidth, int lessHeight)
    : QObject(window), m_window(window), m_grid(grid), m_lessWidth(lessWidth),
      m_lessHeight(lessHeight)
{
    // The grid's top leaves the same margin under it as beside it.
    const int gridLeft = lessWidth / 2;
    const int gridTop = lessHeight - kMargin;
    const int headingHeight = heading->sizeHint().height();
    const int headingTop = gridTop - kMargin / 2 - headingHeight;
    const QSize criteriaSize = criteria->sizeHint();
    const int criteriaHeight = std::max(criteriaSize.height(), headingTop - kMargin / 2 - kMargin);
    criteria->setGeometry(gridLeft, kMargin, criteriaSize.width(), criteriaHeight);
    heading->setGeometry(gridLeft, headingTop, criteriaSize.width(), headingHeight);
    grid->move(gridLeft, gridTop);
    // Never so small that the criteria are cut off.
    window->setMinimumSize(criteriaSize.width() + lessWidth, lessHeight + 4 * kMargin);
    window->resize(std::max(window->width(), window->minimumWidth()),
                   std::max(window->height(), window->minimumHeight()));
    window->installEventFilter(this);
    apply();
}

void QueryLayout::apply()
{
    QSize size = m_grid->size();
    if (m_window->width() > m_lessWidth)
        size.setWidth(m_window->width() - m_lessWidth);
    if (m_window->height() > m_lessHeight)
        size.setHeight(m_window->height() - m_lessHeight);
    m_grid->resize(size);
}

bool QueryLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
