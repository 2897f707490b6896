#include "ui/visibility/sub_object_visibility_mgr_impl.h"

#include "framework/host_glue/renderer_scope.h"
#include "framework/object/query_chain.h"

namespace {

bool isVisible(IZelSubObject& subObject) {
  return !subObject.displayFlag(IZelSubObject::kHiddenDisplayFlag);
}

void setVisible(IZelSubObject& subObject, bool visible) {
  subObject.setDisplayFlag(IZelSubObject::kHiddenDisplayFlag, !visible);
}

}  // namespace

void SubObjectVisibilityMgrImpl::change(IZelSubObject* subObject, bool visible) {
  if (!subObject) return;
  (visible ? toShow_ : toHide_).push_back({IPtr<IZelSubObject>(subObject), isVisible(*subObject)});
}

void SubObjectVisibilityMgrImpl::apply() {
  // Hiding runs last, so a sub-object recorded both ways ends hidden.
  for (Record& record : toShow_) setVisible(*record.subObject, true);
  for (Record& record : toHide_) setVisible(*record.subObject, false);
  requestRedraw(false);
}

void SubObjectVisibilityMgrImpl::restore() {
  for (Record& record : toShow_) setVisible(*record.subObject, record.wasVisible);
  for (Record& record : toHide_) setVisible(*record.subObject, record.wasVisible);
  requestRedraw(false);
  toShow_.clear();
  toHide_.clear();
}

void SubObjectVisibilityMgrImpl::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelSubObjectVisibilityMgr>(this).end();
}
