#include "views/volume_sum.h"

// Being written.
