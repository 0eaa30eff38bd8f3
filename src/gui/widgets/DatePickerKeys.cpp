#include "gui/widgets/DatePickerKeys.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace lendora {

namespace {
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

}  // namespace lendora
