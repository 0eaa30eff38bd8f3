#pragma once

// The message seam, where tests and tools have always included it from.
#include "gui/widgets/Prompter.h"
