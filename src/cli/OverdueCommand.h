#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// overdue [--as-of yyyy-MM-dd] [--csv FILE] [--pdf FILE]: the overdue list as CSV (the desk's
// grid without its 说明 column) and the notices of every overdue reader as one PDF.
Command overdueCommand();

}  // namespace lendora::cli
