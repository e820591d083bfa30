#include "crypto/book_key.h"
#include "contacts/contact.h"
