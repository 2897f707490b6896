#pragma once

// What a caller hands to queryInterface with a null name, in place of the out-pointer: the object adds every
// name it answers to. The caller builds it, reads the lists and frees it; its layout is shared with the host.

#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_cstring.h"

struct InterfaceNameEntry {
  ZelCString name;
  uint32_t isClass = 0;  // 1 for a class name, 0 for an interface name
  ZelCString owner;      // the innermost class open when the name was added; empty when none was
};

// One node of the caller's probe set: a chained set of names hashed with djb2.
struct InterfaceNameProbe {
  const char* name = nullptr;
  InterfaceNameProbe* next = nullptr;
};

struct InterfaceNameCollector {
  ZelCountedArray<ZelCString>* classStack = nullptr;       // the classes whose scopes are open
  ZelCountedArray<InterfaceNameEntry>* entries = nullptr;  // every name added, in query order
  InterfaceNameProbe** probeBuckets = nullptr;             // chain heads, or null for an empty set
  uint32_t probeBucketCount = 1;                           // never 0: every added name is hashed modulo it
  void* callerData = nullptr;                              // the caller's own; never touched by the object
  uint8_t probeHit = 0;                                    // set when an added name is in the probe set
};

// Records one name in a collector (the probe set can stop the collection; see the header of the object
// model).
void addInterfaceName(const char* name, uint32_t isClass, InterfaceNameCollector* collector);
// Closes the innermost open class scope of a collector.
void endInterfaceClass(InterfaceNameCollector* collector);
