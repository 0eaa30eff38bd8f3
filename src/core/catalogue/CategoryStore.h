#pragma once

#include "data/Store.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

namespace lendora {

struct Category {
    QString code;       // 类别代码
    QString name;       // 书籍类别
    QVariant loanDays;  // 借出天数; null when the row holds none

    // A category entry ("code-name"), chosen or typed, turns back into a code by its first
    // character.
    static QString codeOf(const QString &entry);
    // Whether a code is one character (a surrogate pair counts as one), the only codes a
    // category entry gives back.
    static bool isOneCharacter(const QString &code);
};

// The categories table.
class CategoryStore : public Store {
public:
    enum class Result {
        Done,
        NoCode,       // add: the code is empty, which no book could carry; nothing written
        LongCode,     // add: the code is more than one character; nothing written
        BadLoanDays,  // the loan-days text is not a 16-bit whole number; nothing written
        Duplicate,    // add: the code is taken already; nothing written
        Missing,      // modify: no category has the code (any more); nothing written
        Failed,       // the database refused the write; nothing written
    };

    using Store::Store;

    // Every category in the table's own order; empty when the engine failed too.
    QList<Category> all();
    // The categories whose code is not one character (written before the rule, or by another
    // program): the book windows cannot file a book under them. Empty when the engine failed
    // too.
    QList<Category> unchoosable();

    // Codes and names are stored exactly as typed; loan days go through loanDaysFrom().
    Result add(const QString &code, const QString &name, const QString &loanDaysText);
    // Changes the name and loan days of the category with this code; the code stays.
    Result modify(const QString &code, const QString &name, const QString &loanDaysText);
    // Deletes the category; books that carry its code keep it. False when the database
    // refused.
    bool remove(const QString &code);

    // A loan-days text as a 16-bit whole number: decimals are rounded to the nearest whole
    // number, halves to the even one (6.5 gives 6, 7.5 gives 8); blanks around the number
    // are allowed. nullopt for empty text, a text that is not a number, or a result outside
    // -32768..32767.
    static std::optional<qint16> loanDaysFrom(const QString &text);
};

}  // namespace lendora
