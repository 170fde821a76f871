#include "definitions/station_list.h"

// Being written.
