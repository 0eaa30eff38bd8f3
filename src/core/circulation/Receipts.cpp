#include "core/circulation/Receipts.h"

#include "base/DateText.h"
#include "core/circulation/DueDate.h"
#include "core/circulation/LoanStore.h"
#include "core/circulation/OpenLoans.h"
#include "core/settings/LibraryRules.h"

#include <QSqlRecord>

namespace lendora {

namespace {
// Joined as the grids list loans, so the receipt never shows a loan the desk does not.
const QString kLentOnDay =
    QStringLiteral("select lentInfo.书籍编号,bookInfo.书籍名称,bookType.借出天数"
                   " from readerInfo,bookInfo,lentInfo,bookType")
    + LoanStore::loanJoinSql()
    + QStringLiteral(" and lentInfo.读者编号=? and lentInfo.借书日期=? and ")
    + OpenLoans::condition(QStringLiteral("lentInfo"))
    + QStringLiteral(" order by lentInfo.书籍编号");
}  // namespace

std::optional<LoanReceipt> ReceiptFacts::loansOf(const QString &readerId, const QDate &day)
{
    clearError();
    LoanStore loans(m_database);
    LoanReceipt receipt;
    if (loans.findReader(readerId, &receipt.readerName) != LoanStore::Found::Yes)
        return failed(loans.lastError(), std::nullopt);
    receipt.readerId = readerId;
    receipt.day = day;
    const bool ran =
        forEach(kLentOnDay, {readerId, DateText::toSql(day)}, [&](const QSqlRecord &record) {
            receipt.books << LoanReceipt::Book{record.value(0).toString(),
                                               record.value(1).toString(),
                                               DueDate::of(day, record.value(2))};
        });
    if (!ran)
        return std::nullopt;
    const std::optional<qint64> open = loans.openLoanCount(readerId);
    if (!open)
        return failed(loans.lastError(), std::nullopt);
    LibraryRules rulesRow(m_database);
    const std::optional<Rules> rules = rulesRow.read();
    if (!rules)
        return failed(rulesRow.lastError(), std::nullopt);
    receipt.remaining = LoanLimit::remaining(*rules, *open);
    return receipt;
}

FineReceipt FineReceipt::of(const LoanStore::ReturnQuote &quote)
{
    const Fines::Figures::Texts figures = quote.figures.texts();
    return {quote.loan.readerId,
            quote.loan.readerName,
            quote.bookId,
            quote.loan.name,
            DateText::toText(quote.loan.lendDate),
            figures.returnDate,
            figures.overdueDays,
            quote.rules.fineText(),
            figures.fine};
}

}  // namespace lendora
