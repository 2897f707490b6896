#pragma once

// The host registry: one table from path to class-id text, filled by the service families for the paths they
// serve (ServiceFamily::registryEntries) and read by the module through Corvane::IZelRegistry, and by the
// root for the services it answers from the module. Path forms are in host_api/registry_paths.h.
//
// Safe on any thread: device worker threads look paths up while the main thread installs or withdraws a
// family. A text that lookup handed out stays valid for the registry's life, even after its entry is
// replaced or removed: the registry keeps every text it held.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_registry.h"

class HostRegistry : public Corvane::IZelRegistry, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRegistry";

  // Stores text under path. A path already there takes the new text and keeps its place in the walks.
  void add(const std::string& path, const std::string& text);
  // Removes the entry under path, if there is one.
  void remove(const std::string& path);
  // The id whose text is stored under path: the null id when the path is missing or its text is no id.
  ZelID classId(const std::string& path);

  const ZelCString* lookup(const ZelCString* path) override;
  Corvane::IZelRegIter* entries(const ZelCString* path) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

  // A stored text with the narrow-string view the registry hands out, which borrows it.
  struct Text {
    explicit Text(const std::string& text) : value(text), view(value.c_str()) {}
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    const std::string value;
    const ZelCString view;
  };
  using TextPtr = std::shared_ptr<const Text>;

 private:
  struct Entry {
    uint64_t order;  // when the path was first added: the walks list entries by it
    TextPtr text;
  };
  TextPtr find(const std::string& path);

  std::mutex mutex_;
  std::map<std::string, Entry> entries_;  // guarded by mutex_
  std::vector<TextPtr> replaced_;         // guarded by mutex_
  uint64_t nextOrder_ = 0;                // guarded by mutex_
};
