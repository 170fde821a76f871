#include "definitions/road_list.h"

// Being written.
