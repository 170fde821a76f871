#include "core/day.h"

// Being written.
