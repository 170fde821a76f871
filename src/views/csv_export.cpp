#include "views/csv_export.h"

// Being written.
