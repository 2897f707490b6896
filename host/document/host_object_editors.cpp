#include "host/document/host_object_editors.h"

#include "framework/object/query_chain.h"
#include "host/document/host_object_list.h"
#include "host_api/points.h"
#include "host_api/zel_curves.h"

namespace {
constexpr const char* kPointModel = "PointModel";
constexpr const char* kCurveEnds = "PrimCurveEnds";
constexpr const char* kPolylines = "CurveBySectionPolylines";
}  // namespace

bool HostObjectBuilder::beginObject(const char* type, const ZelString& name, bool unique) {
  if (!type || !*type) return false;
  std::lock_guard lock(mutex_);
  if (pending_) return false;
  pending_ = Pending{DocObjectDescription{type, name.c_str(), std::nullopt, {}, {}}, unique, 0, {}};
  return true;
}

bool HostObjectBuilder::addData(IZelUnknown* data) {
  if (!data) return false;
  std::lock_guard lock(mutex_);
  if (!pending_) return false;
  pending_->description.data.emplace_back(data);
  // The points of a point object show as its part "PointModel", where callers look for its point array.
  void* points = nullptr;
  data->queryInterface(IZelPoints::interfaceName, &points, false);
  if (points) pending_->description.subObjects.emplace_back(kPointModel, IPtr<IZelUnknown>(data));
  // A curve object draws its curve ends and keeps the polylines its curves were fitted through.
  void* curves = nullptr;
  data->queryInterface(IZelCurveSet::interfaceName, &curves, false);
  if (curves) {
    pending_->description.subObjects.emplace_back(kCurveEnds, IPtr<IZelUnknown>(new HostCurveEnds));
    pending_->description.subObjects.emplace_back(kPolylines, IPtr<IZelUnknown>(new HostObjectList));
  }
  return true;
}

IZelDocObject* HostObjectBuilder::endObject(bool) {
  std::optional<Pending> ended;
  {
    std::lock_guard lock(mutex_);
    std::swap(ended, pending_);
  }
  if (!ended) return nullptr;
  IPtr<HostDocObject> object = document_->add(std::move(ended->description), ended->unique);
  object->setOrigin(ended->attribute, std::move(ended->sourceIds));
  object->addRef();  // the caller's reference
  return object.get();
}

bool HostObjectBuilder::setAttribute(int32_t attribute) {
  std::lock_guard lock(mutex_);
  if (!pending_) return false;
  pending_->attribute = attribute;
  return true;
}

bool HostObjectBuilder::addSourceObject(IZelDocObject* source, bool) {
  if (!source) return false;
  const int32_t id = document_->objectId(source);
  std::lock_guard lock(mutex_);
  if (!pending_) return false;
  pending_->sourceIds.push_back(id);
  return true;
}

void HostObjectBuilder::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelObjectBuilder>(this).end();
}

bool HostObjectRemover::removeObject(IZelDocObject* object, int32_t, bool) {
  return document_->remove(object);
}

void HostObjectRemover::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelObjectRemover>(this).end();
}
