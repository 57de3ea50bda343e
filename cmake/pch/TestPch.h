// Precompiled for every test executable: GoogleTest, and Qt's headers where the test sees Qt.
#pragma once

#include "QtPch.h"

#include <gtest/gtest.h>

#if __has_include(<QTest>)
#include <QSignalSpy>
#include <QTest>
#endif
