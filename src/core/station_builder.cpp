#include "core/station_builder.h"

// Being written.
