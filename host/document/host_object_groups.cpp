#include "host/document/host_object_groups.h"

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/document/host_object_list.h"

IZelDocObject* HostObjectGroups::createGroup(const ZelString& name) {
  IPtr<HostObjectList> members(new HostObjectList);
  DocObjectDescription description{kGroupType, name.c_str(), std::nullopt, {}, {}};
  description.subObjects.emplace_back(kMembers, IPtr<IZelUnknown>(members.get()));
  IPtr<HostDocObject> group = document_->add(std::move(description), false);
  group->addRef();  // the caller's reference
  return group.get();
}

bool HostObjectGroups::addToGroup(IZelDocObject* group, IZelDocObject* object) {
  if (!group || !object || !group->isType(kGroupType)) return false;
  if (document_->objectId(group) == 0 || document_->objectId(object) == 0) return false;
  auto* members = queryPart<HostObjectList>(group->subObject(kMembers));
  return members && members->add(object);
}

void HostObjectGroups::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelObjectGroups>(this).end();
}
