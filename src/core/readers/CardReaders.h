#pragma once

#include "data/Store.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

// What a reader's card shows of the reader.
struct CardReader {
    QString number;      // 读者编号
    QString name;        // 读者姓名
    QString department;  // 所在部门
    bool operator==(const CardReader &) const = default;
};

// The readers a sheet of cards is printed for. Each answer is nullopt when the engine failed
// (lastError() says why).
class CardReaders : public Store {
public:
    using Store::Store;

    // The numbers from `from` to `to`, compared as text, both ends included; in number order.
    std::optional<QList<CardReader>> range(const QString &from, const QString &to);
    // The numbers given, in their order; the ones no reader has go to `missing`, in order.
    std::optional<QList<CardReader>> listed(const QStringList &numbers, QStringList *missing);
};

}  // namespace lendora
