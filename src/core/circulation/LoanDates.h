#pragma once

#include "data/Store.h"

#include <QDate>

namespace lendora {

// How far the loans reach in time: a computer whose clock is set before the newest lending or
// return date would store loans out of order.
class LoanDates : public Store {
public:
    using Store::Store;

    // The newest lending or return date stored; invalid when there are no loans, or when the
    // engine failed (lastError() says why).
    QDate newest();
};

}  // namespace lendora
