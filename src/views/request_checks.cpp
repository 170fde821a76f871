#include "views/request_checks.h"

// Being written.
