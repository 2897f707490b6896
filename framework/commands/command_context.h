#pragma once

// What a command reads of the host's state through the context it is handed (canRun's argument, or the
// context kept by the command base).

#include "host/api/zel_unknown.h"

// Whether the host reports the flag of that name ("inCommand", "recordingMacro"; the names are
// IComponentCommandContainerV2's). False without a context, or for a context that reports no flags.
bool contextFlag(IZelUnknown* context, const char* name);
