#include "core/settings_store.h"
#include "document/book.h"
