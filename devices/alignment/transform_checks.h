#pragma once

// What a matrix must be to serve as a factor of the device transform. NaN fails every test.

#include <optional>
#include <string>

#include "basic_types/matrix4x4.h"

// Why m cannot serve as a device transform, as the end of a sentence ("its 3 x 3 part is singular"), or
// nothing. It must be affine (the last row 0 0 0 1 exactly) and keep every measured point and direction
// finite and meaningful: every element finite, a 3 x 3 part and its inverse that scale by at most
// kLargestScale in any direction (so neither is near singular), and a translation within kFarthest. A matrix
// that is merely not rigid (a scale, a shear) passes.
std::optional<std::string> whyNoUsableTransform(const Matrix4x4& m);
bool isUsableTransform(const Matrix4x4& m);

// Far beyond any unit conversion or calibration scale, and any workshop, in the module's metres; far below
// where the products of a point or of three such factors overflow.
inline constexpr double kLargestScale = 1e6;
inline constexpr double kFarthest = 1e9;

// Usable, orthonormal within 1e-7 and not mirrored: what a part alignment can be.
bool isProperRigid(const Matrix4x4& m);
