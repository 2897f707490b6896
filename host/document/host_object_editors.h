#pragma once

// The stand-in host's services that change its document: the object builder ("IZelObjectBuilder") and the
// object remover ("IZelObjectRemover"). Both hold a reference on the document. Safe on any thread, though
// the builder makes one object at a time: callers on several threads must not interleave their objects.

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_document.h"
#include "host_api/zel_doc.h"

class HostObjectBuilder : public IZelObjectBuilder, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectBuilder";

  explicit HostObjectBuilder(HostDocument* document) : document_(document) {}

  // False while another object is begun and not ended, or for an empty type.
  bool beginObject(const char* type, const ZelString& name, bool unique) override;
  // Holds a reference on data; false with nothing begun or null data.
  bool addData(IZelUnknown* data) override;
  // Adds the object to the document (unique: under a free name, see HostDocument::add); the stand-in host
  // keeps no undo history, so undoable changes nothing.
  IZelDocObject* endObject(bool undoable) override;
  bool setAttribute(int32_t attribute) override;
  // Records the source's id (0 for an object not in the document).
  bool addSourceObject(IZelDocObject* source, bool keep) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Pending {
    DocObjectDescription description;
    bool unique = false;
    int32_t attribute = 0;
    std::vector<int32_t> sourceIds;
  };

  const IPtr<HostDocument> document_;
  std::mutex mutex_;
  std::optional<Pending> pending_;  // guarded by mutex_
};

// Removes objects for good: the stand-in host keeps no undo history yet, so undoable changes nothing.
class HostObjectRemover : public IZelObjectRemover, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectRemover";

  explicit HostObjectRemover(HostDocument* document) : document_(document) {}

  // False when the object is not in the document.
  bool removeObject(IZelDocObject* object, int32_t flags, bool undoable) override;
  // The stand-in host removes at once; it counts the runs of removals for tests.
  void finishRemoval() override { ++finishedRuns_; }
  int32_t finishedRuns() const { return finishedRuns_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostDocument> document_;
  std::atomic<int32_t> finishedRuns_{0};
};
