#pragma once

// What every widget test uses: QtWidgets, QtTest, GoogleTest, readable Qt
// values in failures, and whole files.

#include "qt_printing.h"
#include "test_files.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
