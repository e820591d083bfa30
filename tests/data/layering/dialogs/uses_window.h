#include "../mainwindow/window.h"
