#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// stats [--from yyyy-MM-dd] [--to yyyy-MM-dd] [--csv DIR [--encoding utf-8|gb18030]]: the loan
// statistics over a range, as a short summary on stdout or as one CSV file per view in DIR.
Command statsCommand();

}  // namespace lendora::cli
