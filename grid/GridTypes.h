#pragma once
// The grid's small value types live in grid/util; this name stays for the
// code above the grid that includes it.
#include "grid/util/GridTypes.h"
