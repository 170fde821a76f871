#include "views/interval_table.h"

// Being written.
