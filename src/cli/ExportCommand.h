#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// export books|readers|categories|loans FILE [--encoding utf-8|gb18030]: a whole table as
// CSV ("-" for standard output), or as an Excel workbook when FILE ends in .xlsx.
Command exportCommand();

}  // namespace lendora::cli
