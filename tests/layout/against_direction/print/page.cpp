#include "data/wage_grid.h"
