#pragma once

// The host counters that number the capture's objects.

#include "host_api/counter_store.h"

// The host's counter of that name, made with the value 1 when it is missing; null without a counter store.
// The store keeps it for its whole life.
ICounter* captureCounter(const char* name);
