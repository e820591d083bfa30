#include "core/app_error.h"
#include "document/book.h"
