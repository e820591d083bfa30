#include "app/session.h"
#include "mainwindow/window.h"
