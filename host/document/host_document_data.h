#pragma once

// The module's data inside a saved document. Saving asks every component-data writer the host knows for its
// block; opening hands each reader its block, or asks it for its defaults when the document has none. The
// host knows its writers and readers by the service names it looks them up under.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/core/host_root.h"

// A saved document's module data: one block of bytes per service name.
using DocumentData = std::map<std::string, std::vector<uint8_t>>;

// The chunk-length width of the documents this host writes: format versions up to 9 use 32-bit lengths.
inline constexpr int32_t kDocumentFormatVersion = 9;

DocumentData saveDocumentData(HostRoot& root, const std::vector<std::string>& services);
// Answers, per service, whether its block was read (or its defaults loaded) successfully.
std::map<std::string, bool> openDocumentData(HostRoot& root, const DocumentData& data,
                                             const std::vector<std::string>& services);
