#pragma once

#include <QString>
#include <optional>

namespace lendora {

class SharedDatabase;

// One row of readerInfo. A column that holds no value reads as empty text.
struct Reader {
    QString number;      // 读者编号
    QString name;        // 读者姓名
    QString sex;         // 读者性别
    QString phone;       // 联系电话
    QString department;  // 所在部门
};

// The reader register. Every write is all or nothing: a write the engine refuses (a second
// reader with the same number, for one) leaves the table as it was.
class ReaderStore {
public:
    enum class Outcome {
        Done,
        NotFound,      // no reader has the number
        HasOpenLoans,  // delete refused: the reader still holds books
        Failed,        // the engine refused or could not run the statement
    };

    explicit ReaderStore(SharedDatabase &database) : m_database(database) {}

    Outcome find(const QString &number, Reader *reader) const;
    Outcome add(const Reader &reader);
    // Rewrites the five columns of the reader whose number is reader.number.
    Outcome change(const Reader &reader);
    // Deletes the reader, unless the reader has an open loan. The reader's returned loans stay.
    Outcome remove(const QString &number);

    // The reader's open loans, counted as the lending tab lists them: only loans whose reader,
    // book and category all exist. nullopt when the engine fails.
    std::optional<int> openLoans(const QString &number) const;

private:
    SharedDatabase &m_database;
};

}  // namespace lendora
