#pragma once

class IZelRoot;

// The module-wide pointer to the host root, set by the component's initialise and read by every host lookup
// and every reference count. Null until then; held without a reference. Safe to read on any thread.
IZelRoot* hostRoot();
void setHostRoot(IZelRoot* root);
