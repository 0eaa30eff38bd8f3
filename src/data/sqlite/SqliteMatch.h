#pragma once

#include "data/SqlCondition.h"

#include <QString>

namespace lendora {

// Matching typed text against a column ("bookInfo.书籍名称"). Where the column has a text
// index and the text has three characters or more, the index finds the candidate rows and the
// plain comparison on the column decides, so the rows are exactly those of the plain query;
// otherwise the plain comparison alone runs over the table.
class SqliteMatch {
public:
    // Exact: "=" on the whole text, no trimming and no case folding.
    // `pairs`: the file holds the index of characters and pairs (a file held back at an older
    // version may not); without it a text of one or two characters is read through the table.
    static SqlCondition exact(const QString &column, const QString &text, bool pairs = true);
    // Partial: the typed text anywhere in the column, matched literally (a typed percent sign,
    // underscore or backslash matches itself), as LIKE matches: ASCII letters in either case.
    static SqlCondition partial(const QString &column, const QString &text, bool pairs = true);
    static SqlCondition match(const QString &column, const QString &text, bool partial,
                              bool pairs = true);
    // The index's candidate rows for the text, as a query of their row numbers; an empty
    // condition when no index serves it.
    static SqlCondition candidates(const QString &column, const QString &text, bool partial,
                                   bool pairs = true);
    // The plain comparison alone, written so that it is tested on each joined row while the
    // rows of the driving table (row key `driverKey`) are read in order.
    static SqlCondition each(const QString &column, const QString &text, bool partial,
                             const QString &driverKey);
};

}  // namespace lendora
