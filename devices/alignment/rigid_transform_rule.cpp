#include "devices/alignment/rigid_transform_rule.h"

#include <optional>
#include <string>

#include "basic_types/transform_checks.h"
#include "framework/host_glue/user_error.h"
#include "framework/translation/tr.h"

bool acceptRigidTransform(const Matrix4x4& m, const ZelString& source, Transformation which) {
  const std::optional<std::string> why = whyNoProperRigid(m);
  if (!why) return true;
  const ZelString reason(why->c_str());
  reportUserError(which == Transformation::kHardware
                      ? tr("%1 holds no rigid transform without mirroring (%2): the hardware transformation "
                           "is unchanged.",
                           source, reason)
                      : tr("%1 holds no rigid transform without mirroring (%2): the software transformation "
                           "is unchanged.",
                           source, reason));
  return false;
}

bool acceptHardwareMatrix(const Matrix4x4& m) {
  return acceptRigidTransform(m, tr("The new hardware matrix"), Transformation::kHardware);
}

bool acceptRigidFile(const Matrix4x4& m, const ZelString& file, Transformation which) {
  return acceptRigidTransform(m, tr("The file '%1'", file), which);
}
