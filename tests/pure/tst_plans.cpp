// placeholder
#include "TestMain.h"
