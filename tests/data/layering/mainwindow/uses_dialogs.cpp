#include "dialogs/password.h"
