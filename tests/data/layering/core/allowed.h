#include "core/other.h"

#include <sys/stat.h>
