#include "basic/conversions.h"
