#pragma once

// Lets go of every host object the module keeps in its module-wide state (shared objects such as the
// singletons, the translator, the kept services, a pool shared with the host), then forgets the host root.
// This is what unloading the module does; a host that tears itself down before the module unloads calls it
// first, while its services still answer.
void detachFromHost();

// Adds a step that detachFromHost runs first, before the kept services are let go (the module's singletons
// still need the host to unsubscribe). Steps are added while the module loads.
void addDetachStep(void (*step)());
