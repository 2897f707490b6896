#pragma once

// An emulator pick given in a part's own coordinates and placed where a pose puts the part.

#include <string>

#include "basic_types/matrix4x4.h"
#include "emulator_script.h"

// The mouse line of the ray from point from along along.
inline std::string posedMouse(const Matrix4x4& pose, const Vector3& from, const Vector3& along,
                              const std::string& action) {
  const Vector3 o = Matrix4x4::transformPoint(pose, from), d = Matrix4x4::transformVector(pose, along);
  return "mouse " + action + numbers({o.x, o.y, o.z, d.x, d.y, d.z}) + "\n";
}

// The ray from point from along along; a click waits until its touch is sampled.
inline std::string posedPick(const Matrix4x4& pose, const Vector3& from, const Vector3& along,
                             const std::string& action = "click") {
  return posedMouse(pose, from, along, action) + (action == "click" ? kSampled : "");
}
