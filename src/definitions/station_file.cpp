#include "definitions/station_file.h"

// Being written.
