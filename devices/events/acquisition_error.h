#pragma once

// The custom event "Error" by which a device says its acquisition failed and sends nothing more. A command
// that hears it ends its run, keeps what the run made before the error and tells the operator with the one
// message every command shows. Main thread, where the device delivers its events.

#include "basic_types/zel_cstring.h"

bool isAcquisitionError(const ZelCString& eventName);
// "An error occurred during data acquisition.", through the host's error service.
void reportAcquisitionError();
