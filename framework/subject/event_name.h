#pragma once

// Events, whether a subject's notifications or a device's custom events, are named by C strings that may be
// null.

#include <cstring>

inline bool isEvent(const char* event, const char* name) {
  return event && std::strcmp(event, name) == 0;
}
