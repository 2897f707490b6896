#pragma once

// The stand-in host's groups ("IZelObjectGroups"): a group is a document object of type "Group" whose part
// "Members" (a HostObjectList) holds its members in the order they were put in. A member removed from the
// document stays listed. Safe on any thread.

#include "framework/object/iptr.h"
#include "host/api/zel_object_extras.h"
#include "host/core/host_unknown.h"
#include "host/document/host_document.h"

class HostObjectGroups : public IZelObjectGroups, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectGroups";
  static constexpr const char* kGroupType = "Group";
  static constexpr const char* kMembers = "Members";

  explicit HostObjectGroups(HostDocument* document) : document_(document) {}

  IZelDocObject* createGroup(const ZelString& name) override;
  bool addToGroup(IZelDocObject* group, IZelDocObject* object) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostDocument> document_;
};
