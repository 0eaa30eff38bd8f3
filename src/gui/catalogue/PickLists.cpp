#include "gui/catalogue/PickLists.h"

#include "gui/widgets/ColumnFit.h"

#include <QComboBox>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>

namespace lendora {

QString CategoryPickList::entry(const Category &category)
{
    return category.code + QLatin1Char('-') + category.name;
}

void CategoryPickList::fill(QComboBox *list, const QList<Category> &categories)
{
    list->clear();
    // A longer code would come back from its entry cut to its first character.
    for (const Category &category : categories) {
        if (Category::isOneCharacter(category.code))
            list->addItem(entry(category));
    }
    fitListToEntries(list);
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

const QStringList &PublisherPickList::publishers()
{
    // Copied into the book's row as they stand: data, the same in every language.
    static const QStringList all = {
        QStringLiteral("人民邮电出版社"), QStringLiteral("清华大学出版社"),
        QStringLiteral("重庆大学出版社"), QStringLiteral("机械工业出版社"),
        QStringLiteral("中国铁道出版社"),
    };
    return all;
}

PublisherPickList *PublisherPickList::attach(QLineEdit *box, QComboBox *list)
{
    return new PublisherPickList(box, list);
}

PublisherPickList::PublisherPickList(QLineEdit *box, QComboBox *list)
    : QObject(box), m_box(box), m_list(list)
{
    // The list floats directly under the box, over whatever lies below it.
    if (QWidget *parent = list->parentWidget(); parent && parent->layout())
        parent->layout()->removeWidget(list);
    if (list->parentWidget() != box->parentWidget())
        list->setParent(box->parentWidget());
    list->setEditable(true);
    list->clear();
    list->addItems(publishers());
    list->setCurrentIndex(-1);
    list->hide();
    box->installEventFilter(this);

    connect(box, &QLineEdit::textChanged, this, &PublisherPickList::boxChanged);
    connect(list, &QComboBox::activated, this,
            [this](int index) { m_box->setText(m_list->itemText(index)); });
    connect(list, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            m_list->hide();
    });
}

void PublisherPickList::boxChanged(const QString &text)
{
    if (!text.isEmpty() && text.trimmed().isEmpty()) {
        place();
        m_list->show();
        m_list->raise();
    } else {
        m_list->hide();
    }
}

void PublisherPickList::place()
{
    m_list->setGeometry(m_box->x(), m_box->y() + m_box->height(), m_box->width(),
                        m_list->sizeHint().height());
}

bool PublisherPickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && m_list->isVisible())
        place();
    return QObject::eventFilter(watched, event);
}

}  // namespace lendora
