#include "crypto/book_key.h"
#include "document/book.h"
#include "richtext/c.h"
