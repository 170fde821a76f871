#include "definitions/list_text.h"

// Being written.
