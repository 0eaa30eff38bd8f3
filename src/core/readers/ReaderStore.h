#pragma once

#include "data/Store.h"

#include <QString>

namespace lendora {

// One row of readerInfo. A column that holds no value reads as empty text.
struct Reader {
    QString number;      // 读者编号
    QString name;        // 读者姓名
    QString sex;         // 读者性别
    QString phone;       // 联系电话
    QString department;  // 所在部门
};

// The reader register. Every write is all or nothing: a write the engine refuses (a second
// reader with the same number, for one) leaves the table as it was. An empty box is stored as
// the empty text.
class ReaderStore : public Store {
public:
    enum class Outcome {
        Done,
        NotFound,      // no reader has the number
        HasOpenLoans,  // delete refused: the reader still holds books
        Failed,        // the engine refused or could not run the statement
    };

    using Store::Store;

    Outcome find(const QString &number, Reader *reader);
    Outcome add(const Reader &reader);
    // Rewrites the five columns of the reader whose number is reader.number.
    Outcome change(const Reader &reader);
    // Deletes the reader, unless the reader has an open loan. The reader's returned loans stay.
    Outcome remove(const QString &number);
};

}  // namespace lendora
