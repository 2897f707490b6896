#include "devices/alignment/plugin_device_object_alignment_service.h"

#include <algorithm>
#include <cstring>

#include "basic_types/transform_checks.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "host_api/zel_doc.h"

namespace {

const ClassRegistration<PluginDeviceObjectAlignmentService> registration(
    registeredClass("PluginDeviceObjectAlignmentService"));
constexpr const char* kDocumentReset = "Document/Reset";
constexpr const char* kAlignmentChanged = "General/AlignmentChanged";

// The transform of the reference object, else of the document's first object; false when neither has one.
bool hostAlignment(Matrix4x4& transform) {
  SPtr<IZelDoc> document;
  if (!document) return false;
  IZelDocObject* reference = document->findObject(ZelString(u"RefObject"));
  if (reference && reference->transform(transform.m)) return true;
  IZelDocObject* first = document->objectCount() > 0 ? document->objectAt(0) : nullptr;
  return first && first->transform(transform.m);
}

// Exact comparison: a NaN counts as different, so it is never mistaken for "no alignment".
bool isExactIdentity(const Matrix4x4& m) {
  const Matrix4x4 identity;
  for (int i = 0; i < 16; ++i) {
    if (!(m.m[i] == identity.m[i])) return false;
  }
  return true;
}

}  // namespace

PluginDeviceObjectAlignmentService::PluginDeviceObjectAlignmentService()
    : stored_("Palpera/Alignment/Object Alignment", "Palpera/Alignment/LoadSoftwareTransformation",
              whyNoProperRigid) {
  stored_.reset(dataStore_.get());
  rememberPlacement();
  if (dataStore_) dataStore_->addListener(kAlignmentChanged, this);
  if (events_) events_->addListener(kDocumentReset, this);
}

PluginDeviceObjectAlignmentService::~PluginDeviceObjectAlignmentService() {
  if (dataStore_) dataStore_->removeListener(kAlignmentChanged, this);
  if (events_) events_->removeListener(kDocumentReset, this);
}

void PluginDeviceObjectAlignmentService::reset() {
  stored_.reset(dataStore_.get());
}

void PluginDeviceObjectAlignmentService::store() {
  stored_.store(dataStore_.get(), this);
}

void PluginDeviceObjectAlignmentService::loadStored() {
  stored_.loadStored(dataStore_.get());
}

void PluginDeviceObjectAlignmentService::rememberPlacement() {
  Matrix4x4 transform;
  if (hostAlignment(transform))
    seenPlacement_ = transform;
  else
    seenPlacement_.reset();
}

// The device transform delivers points where the document shows the part, so a host alignment that moves the
// part moves the device's points with it: by how far the part moved since the service last saw it. Folding
// the whole transform in at every event would count a placement made before the last event again.
void PluginDeviceObjectAlignmentService::foldInHostAlignment() {
  Matrix4x4 transform;
  if (!hostAlignment(transform)) return;
  Matrix4x4 moved = transform;
  if (seenPlacement_) {
    if (std::ranges::equal(transform.m, seenPlacement_->m)) return;
    Matrix4x4 back;
    if (Matrix4x4::invert(*seenPlacement_, back)) moved = transform * back;
  }
  seenPlacement_ = transform;
  if (isExactIdentity(moved)) return;
  stored_.matrix() = moved * stored_.matrix();
  store();
}

bool PluginDeviceObjectAlignmentService::onNotify(const char* key) {
  if (!key) return false;
  if (std::strcmp(key, kAlignmentChanged) == 0) {
    foldInHostAlignment();
    return true;
  }
  if (std::strcmp(key, kDocumentReset) == 0) {
    reset();
    rememberPlacement();
    return true;
  }
  return false;
}

void PluginDeviceObjectAlignmentService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelUnknown*>(static_cast<IZelInitializer*>(this)))
      .offer<IZelPluginDeviceObjectAlignmentService>(this)
      .offer<IZelDataReceiver>(this)
      .offer<IZelInitializer>(this)
      .end();
}
