#pragma once

#include "basic_types/zel_id.h"

// The id that names this module to the host: its component reports it, and the host's translator service
// gives the module's translator for it.
const ZelID& moduleId();
