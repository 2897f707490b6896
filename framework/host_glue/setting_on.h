#pragma once

// Whether a switch of the host data store is on.

// True when the store holds a non-zero integer under key; false without it or without the store.
bool settingOn(const char* key);
