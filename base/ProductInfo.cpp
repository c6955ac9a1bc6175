#include "base/ProductInfo.h"

const char* const kVersionNumber = MIVRA_VERSION_NUMBER;
const char* const kProductVersion = "Beta V" MIVRA_VERSION_NUMBER;
