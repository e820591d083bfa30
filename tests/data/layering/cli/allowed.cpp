#include "core/a.h"
#include "document/b.h"
#include "richtext/c.h"
