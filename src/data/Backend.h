#pragma once

#include "data/Connector.h"
#include "data/Copies.h"
#include "data/SqlDialect.h"

#include <QString>

namespace lendora {

// One database engine behind the desk, as SharedDatabase owns it: everything that is one
// engine's alone, in three parts that each caller sees apart. The stores get its SqlDialect,
// the shared connection and the grids its Connector, backups and restores its Copies.
// LibraryLocation makes one; nothing outside src/data names an engine.
class Backend : public SqlDialect, public Connector, public Copies {
public:
    // Where the library is, as the clerk is shown it (a file, a server).
    virtual QString location() const = 0;
};

}  // namespace lendora
