#pragma once

// What a command reads of the host's state through the context it is handed (canRun's argument, or the
// context kept by the command base), and how it asks the host to end it. The names and their meaning are
// IComponentCommandContainerV2's. Without a context, or with one that does not answer that interface, every
// question is answered false and a finish request goes nowhere.

#include <cstdint>

#include "host_api/zel_unknown.h"

// Whether the host reports the flag of that name ("inCommand", "singleObjectActive", ...).
bool contextFlag(IZelUnknown* context, const char* name);
// Whether the host is in a command, recording a macro, or has a section or a boundary current: states in
// which no command starts.
bool contextBusy(IZelUnknown* context);
// The context's object test: whether it holds the object of that name ("World", "Result").
bool contextHoldsObject(IZelUnknown* context, const char* name);
// Whether the active object holds at least count features.
bool contextHasFeatures(IZelUnknown* context, int32_t count);
// The host's first check before a command works on the document.
bool contextReady(IZelUnknown* context);
// Whether the host lets commands work on objects of that type.
bool contextAllowsType(IZelUnknown* context, const char* type);
// Asks the host to end the running command: applied, or cancelled.
void finishCommand(IZelUnknown* context, bool applied);
