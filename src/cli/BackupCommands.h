#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

Command backupCommand();   // backup FILE: a consistent copy, beside a running desk
Command restoreCommand();  // restore FILE: refused while a desk runs on the library
Command checkCommand();    // check: the whole file and the lent flags; 1 when it finds a fault

}  // namespace lendora::cli
