#include "gui/widgets/Controls.h"

#include "data/Columns.h"
#include "data/GridModel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

#include <algorithm>

namespace lendora {

namespace {
// A skin may already have styled the box: its rules for these properties only take hold once
// the box is polished again.
void repolish(QWidget *widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// What the clerk pasted, less the control characters a key press could not have typed: a
// NUL would cut the text short in a partial match and match rows that do not hold it.
void dropControlCharacters(QLineEdit *box, const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return;
    QString clean = text;
    clean.removeIf(isControl);
    const int cursor = box->cursorPosition();
    const auto before = QStringView(text).left(cursor);
    const int removedBefore = int(std::count_if(before.cbegin(), before.cend(), isControl));
    box->setText(clean);
    box->setCursorPosition(cursor - removedBefore);
}

// Passes the focus on from a widget as QWidget does. The pointer names the protected
// function through a subclass, which lets it be called on any widget.
struct FocusPassing : QWidget {
    static bool passOn(QWidget *widget, bool next)
    {
        const auto focusNextPrev = &FocusPassing::focusNextPrevChild;
        return (widget->*focusNextPrev)(next);
    }
};

class DatePickerKeys : public QObject {
public:
    explicit DatePickerKeys(QDateEdit *picker) : QObject(picker), m_picker(picker) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_picker || event->type() != QEvent::KeyPress || m_delivering)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // QDateTimeEdit's own Tab walks its sections first; its parent passes the focus on
            // as QWidget does, up to the window.
            if (QWidget *parent = m_picker->parentWidget())
                FocusPassing::passOn(parent, key->key() == Qt::Key_Tab
                                                 && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            stepSection(key->key() == Qt::Key_Right ? 1 : -1);
            return true;
        default:
            break;
        }
        if (key->text().isEmpty() || !key->text().at(0).isDigit())
            return false;
        typeInSection(event);
        return true;
    }

private:
    void stepSection(int step)
    {
        m_picker->interpretText();
        const int index =
            std::clamp(m_picker->currentSectionIndex() + step, 0, m_picker->sectionCount() - 1);
        m_picker->setSelectedSection(m_picker->sectionAt(index));
    }

    // A full section moves the picker on to the next one; the digits that follow would change
    // that one instead. The cursor goes back to the end of the section typed into.
    void typeInSection(QEvent *event)
    {
        const int section = m_picker->currentSectionIndex();
        m_delivering = true;
        QCoreApplication::sendEvent(m_picker, event);
        m_delivering = false;
        if (m_picker->currentSectionIndex() == section)
            return;
        m_picker->setCurrentSectionIndex(section);
        if (auto *edit = m_picker->findChild<QLineEdit *>()) {
            const auto length = m_picker->sectionText(m_picker->sectionAt(section)).size();
            edit->setCursorPosition(edit->cursorPosition() + int(length));
        }
    }

    QDateEdit *m_picker;
    bool m_delivering = false;
};
}  // namespace

void markDatePicker(QDateEdit *picker)
{
    picker->installEventFilter(new DatePickerKeys(picker));
}

void markInput(QLineEdit *box)
{
    // A property the skins can select on, and the palette for the system look.
    box->setProperty("lendoraInput", true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(0xE0, 0xFF, 0xFF));
    box->setPalette(palette);
    repolish(box);
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box](const QString &text) { dropControlCharacters(box, text); });
}

void markDisplay(QLineEdit *box)
{
    box->setReadOnly(true);
    box->setProperty("lendoraDisplay", true);
    box->setFocusPolicy(Qt::NoFocus);
    repolish(box);
}

namespace {
// Shows a cell's whole text as its tooltip when the column cuts it.
class CutTextTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *widget = view;
        const QRect room =
            view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        // The style keeps a margin inside the text rectangle on each side.
        const int margin =
            view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        if (item.fontMetrics.horizontalAdvance(item.text) > room.width() - 2 * margin) {
            QToolTip::showText(event->globalPos(), item.text, view->viewport(),
                               view->visualRect(index));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
};
}  // namespace

void fitColumns(QTableView *grid)
{
    grid->resizeColumnsToContents();
    for (int column = 0; column < grid->horizontalHeader()->count(); ++column) {
        if (grid->columnWidth(column) > kMaxColumnWidth)
            grid->setColumnWidth(column, kMaxColumnWidth);
    }
}

void fitHeadings(QTableView *grid)
{
    for (int column = 0; column < grid->horizontalHeader()->count(); ++column)
        grid->setColumnWidth(column, headingRoom(grid, column, grid->columnWidth(column)));
}

int headingRoom(const QTableView *grid, int column, int width)
{
    return std::max(width, grid->horizontalHeader()->sectionSizeHint(column));
}

void fitListToEntries(QComboBox *list)
{
    QAbstractItemView *view = list->view();
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, view->sizeHintForIndex(list->model()->index(row, 0)).width());
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(widest + 2 * view->frameWidth() + scrollBar);
}

void setupGrid(QTableView *grid)
{
    grid->setItemDelegate(new CutTextTips(grid));
    grid->setTextElideMode(Qt::ElideRight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
}

namespace {
template <class Model>
void headByKey(Model *model)
{
    const QSqlRecord record = model->record();
    for (int column = 0; column < record.count(); ++column)
        model->setHeaderData(column, Qt::Horizontal, Columns::label(record.fieldName(column)));
}
}  // namespace

void headColumns(QSqlQueryModel *model)
{
    headByKey(model);
}

void headColumns(GridModel *model)
{
    headByKey(model);
}

}  // namespace lendora
