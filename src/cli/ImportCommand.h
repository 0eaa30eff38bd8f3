#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// import books|readers FILE [--dry-run] [--skip-existing]: the rows of a CSV file into the
// library, all or nothing; every refused line on stderr with its line number.
Command importCommand();

}  // namespace lendora::cli
