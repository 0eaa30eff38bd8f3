#pragma once

#include "data/Store.h"

#include <QStringList>
#include <optional>

namespace lendora {

// A whole check of the library: the engine's own check of every page and index, the rule the
// desk keeps between the tables (a book is marked lent exactly when it has an open loan), and
// the categories no book window can file a book under (codes not one character long).
class LibraryCheck : public Store {
public:
    using Store::Store;

    // What is wrong, one line each (empty when all is well); nullopt when the engine failed
    // (lastError() says why).
    std::optional<QStringList> problems();
};

}  // namespace lendora
