#pragma once

// The host's own settings that the module reads (directories, the memory policy, display choices, the
// scanning plug-in choice), registered in the data store as a host registers them at its start. Directories
// default to empty: the module then asks the host's directory service.

#include "host/core/host_data_store.h"

void registerHostSettings(HostDataStore& store);
