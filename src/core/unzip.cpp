#include "core/unzip.h"

// Being written.
