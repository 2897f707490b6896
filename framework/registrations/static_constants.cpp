#include "framework/registrations/static_constants.h"

#include "framework/translation/tr.h"

namespace {
// Translated at load, before the host is known, so it holds the key's own text.
const ZelString theTransformFilesFilter = tr("Transform Files (*.tfm)");
}  // namespace

const ZelString& transformFilesFilter() {
  return theTransformFilesFilter;
}
