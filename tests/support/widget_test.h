#pragma once

// What every widget test uses: QtWidgets and QtTest beside what every test
// uses.

#include "unit_test.h"

#include <QtTest>
#include <QtWidgets>
