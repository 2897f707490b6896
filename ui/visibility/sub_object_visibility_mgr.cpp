#include "ui/visibility/sub_object_visibility_mgr.h"

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "ui/visibility/sub_object_visibility_mgr_impl.h"

namespace {

const ClassRegistration<SubObjectVisibilityMgr> registration(registeredClass("SubObjectVisibilityMgr"));

}  // namespace

SubObjectVisibilityMgr::SubObjectVisibilityMgr() : impl_(new SubObjectVisibilityMgrImpl) {}

void SubObjectVisibilityMgr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelSubObjectVisibilityMgr>(this).end();
}
