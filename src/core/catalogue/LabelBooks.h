#pragma once

#include "data/Store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// What a book's label shows of it.
struct LabelBook {
    QString id;    // 书籍编号
    QString name;  // 书籍名称
    bool operator==(const LabelBook &) const = default;
};

// The books a sheet of labels is printed for. Each answer is nullopt when the engine failed
// (lastError() says why).
class LabelBooks : public Store {
public:
    using Store::Store;

    // The numbers from `from` to `to`, compared as text, both ends included; in number order.
    std::optional<QList<LabelBook>> range(const QString &from, const QString &to);
    // The books entered (登记日期) from `first` to `last`, both days included; in number order.
    std::optional<QList<LabelBook>> added(const QDate &first, const QDate &last);
    // The numbers given, in their order; the ones no book has go to `missing`, in order.
    std::optional<QList<LabelBook>> listed(const QStringList &ids, QStringList *missing);
};

}  // namespace lendora
