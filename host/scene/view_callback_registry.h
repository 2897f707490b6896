#pragma once

// The view's registry of module callbacks, by callback id: what the view calls before its own handling of a
// callback. Entries are held without references (see ZelCallback). The lock guards the entries only: no
// callback is called while it is held, so a callback may add and remove entries, its own included.

#include <cstdint>
#include <mutex>
#include <vector>

#include "host_api/callback_object.h"

class ViewCallbackRegistry {
 public:
  static constexpr int32_t kCallbackIds = 12;

  struct Entry {
    int32_t id = 0;
    ICallbackObject* owner = nullptr;
    ZelCallback* callback = nullptr;
    int32_t flag = 0;
    bool operator==(const Entry&) const = default;
  };

  // False for an entry already there, an id outside 0 to 11 or a null callback.
  bool add(const Entry& entry);
  // False when there was no such entry.
  bool remove(const Entry& entry);
  // Calls the callbacks of the id in the order they were added until one answers non-zero, and answers
  // whether one did. An entry removed before its turn is not called.
  bool dispatch(int32_t id, void* data, void* extra);
  size_t size();

 private:
  bool contains(const Entry& entry);

  std::mutex mutex_;
  std::vector<Entry> entries_;  // guarded by mutex_, in the order added
};
