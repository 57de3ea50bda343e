// Precompiled for every test executable: GoogleTest, and Qt's headers where the test sees Qt.
// <QTest> stays out: a test may set it up with a macro defined before its own include of it
// (QTEST_QPA_MOUSE_HANDLING), which a precompiled copy would ignore.
#pragma once

#include "QtPch.h"

#include <gtest/gtest.h>

#if __has_include(<QSignalSpy>)
#include <QSignalSpy>
#endif
