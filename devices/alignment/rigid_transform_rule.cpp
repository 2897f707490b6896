#include "devices/alignment/rigid_transform_rule.h"

#include <optional>
#include <string>

#include "basic_types/transform_checks.h"
#include "framework/host_glue/user_error.h"
#include "framework/translation/tr.h"

namespace {

bool refuse(const ZelString& source, const std::string& why, Transformation which) {
  const ZelString reason(why.c_str());
  reportUserError(which == Transformation::kHardware
                      ? tr("%1 holds no rigid transform without mirroring (%2): the hardware transformation "
                           "is unchanged.",
                           source, reason)
                      : tr("%1 holds no rigid transform without mirroring (%2): the software transformation "
                           "is unchanged.",
                           source, reason));
  return false;
}

}  // namespace

bool acceptRigidTransform(const Matrix4x4& m, const ZelString& source, Transformation which) {
  const std::optional<std::string> why = whyNoProperRigid(m);
  return !why || refuse(source, *why, which);
}

bool acceptHardwareMatrix(const Matrix4x4& m) {
  return acceptRigidTransform(m, tr("The new hardware matrix"), Transformation::kHardware);
}

std::optional<Matrix4x4> rigidFromFile(const Matrix4x4& m, const ZelString& file, Transformation which) {
  if (const std::optional<std::string> why = whyNoWrittenRigid(m)) {
    refuse(tr("The file '%1'", file), *why, which);
    return std::nullopt;
  }
  // A matrix the device takes as it stands loads bit for bit, as it was saved.
  return isProperRigid(m) ? m : nearestRigid(m);
}
