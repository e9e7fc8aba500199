// Tests that need what only one platform offers say so where they start.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << (reason)
#define SKIP_OFF_WINDOWS(reason) (void)0
#else
#define SKIP_ON_WINDOWS(reason) (void)0
#define SKIP_OFF_WINDOWS(reason) GTEST_SKIP() << (reason)
#endif
