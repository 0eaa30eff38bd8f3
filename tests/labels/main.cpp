#include "TestMain.h"

LENDORA_TEST_MAIN()
