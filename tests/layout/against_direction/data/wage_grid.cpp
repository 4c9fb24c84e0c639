#include "basic/error.h"
#include "print/page.h"
