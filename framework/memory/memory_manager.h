#pragma once

#include "framework/object/iptr.h"
#include "host/api/zel_memory_manager.h"

// The host's memory manager, looked up on first use and kept; looked up again while the host has none. Safe
// on any thread.
IPtr<ZelMM::IZelMManager> getMemoryManager();

// Gives up the kept manager (at unload, or when the module is detached from its host).
void forgetMemoryManager();
