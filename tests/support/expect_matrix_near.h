#pragma once

#include <gtest/gtest.h>

#include "basic_types/matrix4x4.h"

inline void expectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}
