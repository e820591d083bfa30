#include "dialogs/password.h"
#include "mainwindow/window.h"
#include "ui/editor.h"
