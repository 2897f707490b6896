#pragma once

// The texts the host's log carries for a device's acquisition: the name of the file that receives the
// device's raw events, and the device transform. Pure functions of their arguments.

#include <cstdint>
#include <optional>
#include <string>

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"

// The numbered event file beside the host's log: for C:\logs\run.log, the category HardProbe and the number
// 7, C:\logs\run-hardprobe-0007.xml. The number has at least four digits.
ZelString eventFileName(const ZelString& logFile, const ZelCString& category, int32_t number);

// The 16 elements in row order, each with 17 significant digits (enough to read the same double back) and
// followed by one blank: the identity gives "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 ".
ZelString alignmentText(const Matrix4x4& transform);

// Reads an alignment text back into transform. It must hold exactly 16 finite numbers separated by white
// space, which make a usable device transform (isUsableTransform) that is a rotation and a shift as a file
// writes one (whyNoWrittenRigid) once a uniform scale, the recording's temperature scale, is divided out; such
// a rotation is taken as the nearest one. Otherwise transform stays as it is and the answer says, as a
// sentence for the user, why the text was refused.
std::optional<std::string> parseAlignmentText(const char* text, Matrix4x4& transform);
