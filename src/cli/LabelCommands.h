#pragma once

#include "cli/Cli.h"

namespace lendora::cli {

// labels (--from N --to N | --added DAY[:DAY] | --list FILE) --pdf FILE [--stock S] [--skip N]:
// the books' barcode labels as a PDF.
Command labelsCommand();
// cards (--from N --to N | --list FILE) --pdf FILE [--stock S]: the readers' cards as a PDF.
Command cardsCommand();

}  // namespace lendora::cli
