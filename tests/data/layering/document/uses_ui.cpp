#include "document/book.h"
#include "ui/editor.h"
