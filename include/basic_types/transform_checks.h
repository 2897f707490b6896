#pragma once

// What a matrix must be to serve as a factor of the device transform, and what a placement or a hardware
// matrix must be: the one test of each that the module and the stand-in host put matrices to. NaN fails
// every test.

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

// Why m is not a rotation and a shift (a proper rigid transform), as the end of a sentence, or nothing: it
// must be usable, its 3 x 3 part orthonormal within 1e-7 (Matrix4x4::isRigid) and not mirrored. What a part
// placement and the device's hardware matrix can be. The tolerance takes a rotation written to eight decimals
// (each column then errs by less than 2e-8) and refuses any scale a measurement could notice.
std::optional<std::string> whyNoProperRigid(const Matrix4x4& m);
bool isProperRigid(const Matrix4x4& m);

// How far a rotation a file holds may stray from orthonormal. Tools write a rotation to six decimals, which
// puts each element up to 5e-7 off and each column's length and angles up to about 2e-6; a scale a
// measurement could notice (a part 1e-5 larger, 10 µm a metre) is still refused.
inline constexpr double kWrittenRotationTolerance = 1e-5;

// As whyNoProperRigid, for a matrix a file holds: its 3 x 3 part orthonormal within
// kWrittenRotationTolerance.
std::optional<std::string> whyNoWrittenRigid(const Matrix4x4& m);
// The proper rigid transform a matrix that passes whyNoWrittenRigid stands for: its shift, and the rotation
// nearest its 3 x 3 part (the polar factor), so that the file's rounding does not become the device's scale.
Matrix4x4 nearestRigid(const Matrix4x4& m);
