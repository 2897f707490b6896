#pragma once

#include "host_session.h"

// The group --settings lists.
inline constexpr const char* kSettingsGroup = "Palpera";

// --settings: every item of the group "Palpera", the group first, in registration order, one line each (see
// host/core/data_item_text.h). Fails (1) when the data store has no such group.
int printSettings(HostSession& session);
