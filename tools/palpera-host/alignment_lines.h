#pragma once

// The current hard-probe plug-in's transform, as "print alignment" shows it: four matrices (hardware, object,
// scale and combined), each a name line and four row lines of tab-separated numbers to 12 significant digits.

#include "host_session.h"

void printAlignment(HostSession& session);
