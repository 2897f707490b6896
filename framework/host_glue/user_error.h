#pragma once

// Shows the user an error message through the host's error service ("IZelErrorService"). Without the
// service the message goes to the process's standard error stream, so it is never lost. Main thread.

#include "basic_types/zel_string.h"

void reportUserError(const ZelString& message);
