#include "framework/host_glue/user_error.h"

#include <cstdio>

#include "framework/object/iptr.h"
#include "host_api/zel_error_service.h"
#include "platform/utf8.h"

void reportUserError(const ZelString& message) {
  SPtr<IZelErrorService> errors;
  if (errors) {
    errors->report(message, 1, emptyZelCString());
    return;
  }
  std::fprintf(stderr, "%s\n", platform::toUtf8(message.c_str()).c_str());
}
