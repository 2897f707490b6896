#pragma once

#include "framework/object/iptr.h"
#include "host_api/zel_memory_manager.h"

// The host's memory manager, looked up on first use and kept; looked up again while the host has none. Let go
// of with every kept service when the module detaches from its host. Safe on any thread.
IPtr<ZelMM::IZelMManager> getMemoryManager();
