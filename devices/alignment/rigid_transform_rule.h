#pragma once

// The hardware and software transformations are rotations and shifts (isProperRigid). A scale or a shear in
// the hardware matrix would stretch every touch the device delivers, and a flattening one would put every
// touch in one plane; a mirror would turn the part inside out. Every path that sets the hardware matrix, and
// the software transformation's file load, asks here, so that one rule and one wording serve them all.
// Main thread.

#include <optional>

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_string.h"

enum class Transformation { kHardware, kSoftware };

// Whether m may become the transformation. When it may not, the user is told "<source> holds no rigid
// transform without mirroring (<why>): the <hardware|software> transformation is unchanged.", and the caller
// keeps the matrix it had. source names where m came from ("The file '...'").
bool acceptRigidTransform(const Matrix4x4& m, const ZelString& source, Transformation which);
// The same for a hardware matrix that a command or a service hands on: its source is "The new hardware
// matrix".
bool acceptHardwareMatrix(const Matrix4x4& m);
// The transformation a matrix read from the file the user chose (as the dialog returned it) stands for, when
// its rotation is as near orthonormal as a file writes one (whyNoWrittenRigid): the matrix itself when it is
// a proper rigid transform already (isProperRigid), else the nearest rotation and the file's shift
// (nearestRigid). Else nothing, the user told as above with the source "The file '<file>'".
std::optional<Matrix4x4> rigidFromFile(const Matrix4x4& m, const ZelString& file, Transformation which);
