#pragma once

// Lets go of every host object the module keeps in its module-wide state (the translator, the kept services
// such as the memory manager, a pool shared with the host), then forgets the host root. This is what
// unloading the module does; a host that tears itself down before the module unloads calls it first.
void detachFromHost();
