#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// migrate --to URL: moves the library's file into an empty database on a PostgreSQL server,
// then proves every table arrived whole.
Command migrateCommand();

}  // namespace lendora::cli
