#pragma once

// What a matrix must be to serve as a factor of the device transform. NaN fails every test.

#include "basic_types/matrix4x4.h"

// Every element finite, the affine last row (0, 0, 0, 1) exactly, and a 3 x 3 part whose determinant is
// finite and not zero: an invertible affine map that sends no finite position to infinity or NaN through the
// division by the last row. What the hardware alignment takes from the data store or a host log.
bool isUsableTransform(const Matrix4x4& m);

// Usable, orthonormal within 1e-7 and not mirrored: what a part alignment can be.
bool isProperRigid(const Matrix4x4& m);
