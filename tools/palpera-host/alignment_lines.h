#pragma once

// The current hard-probe plug-in's transform, as "print alignment" shows it: four matrices (hardware, object,
// scale and combined, the product object x hardware x scale that the device delivers in a measuring
// command), each a name line and four row lines of tab-separated numbers to 12 significant digits.

#include "host_session.h"

void printAlignment(HostSession& session);
