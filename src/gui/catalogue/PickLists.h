#pragma once

#include "core/catalogue/CategoryStore.h"

#include <QList>
#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;

namespace lendora {

// The category pick-list: one entry per category, code "-" name, in the table's order; a
// category whose code is not one character cannot be chosen and is left out.
class CategoryPickList {
public:
    static QString entry(const Category &category);
    static void fill(QComboBox *list, const QList<Category> &categories);
};

// The publisher pick-list: a hidden list under the publisher box that a single blank (any
// text of blanks only) calls up; choosing an entry copies it into the box, which hides it.
class PublisherPickList : public QObject {
    Q_OBJECT
public:
    static const QStringList &publishers();
    static PublisherPickList *attach(QLineEdit *box, QComboBox *list);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PublisherPickList(QLineEdit *box, QComboBox *list);
    void boxChanged(const QString &text);
    void place();

    QLineEdit *m_box;
    QComboBox *m_list;
};

}  // namespace lendora
