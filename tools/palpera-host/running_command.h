#pragma once

// What the actions that drive the running command share: that one runs, and its dialog's controls by id or
// name. Each throws ScriptError when there is no such thing.

#include <cstdint>
#include <string>

#include "host_session.h"

void requireRunningCommand(HostSession& session);
// A whole number is a control id; any other word is the name of a control of the dialog.
int32_t controlId(HostSession& session, const std::string& word);
// Throws when the control (named by word in the script) is disabled.
void requireEnabled(HostSession& session, const std::string& word, int32_t id);
