#include "devices/events/acquisition_error.h"

#include <cstring>

#include "framework/host_glue/user_error.h"
#include "framework/translation/tr.h"

bool isAcquisitionError(const ZelCString& eventName) {
  return std::strcmp(eventName.c_str(), "Error") == 0;
}

void reportAcquisitionError() {
  reportUserError(tr("An error occurred during data acquisition."));
}
