#include "gen/palpera/palpera_cross_section_fitters.h"

#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"
#include "host_api/zel_doc.h"

namespace {
constexpr const char* kSourceName = "gen/palpera/palperacrosssectionfitters";
constexpr int kOwnArrayLine = 28;
constexpr int kBorrowedArrayLine = 36;
// A section's own array holds points, with room for this many before it grows.
constexpr int32_t kOwnArrayEntryWidth = 1;
constexpr int32_t kOwnArrayCapacity = 1024;
}  // namespace

SectionData::SectionData(const SectionPlane& plane, RealPArray* pointArray, bool)
    : plane_(plane), pArray_(pointArray) {
  if (!pArray_) reportAssertion("pArray_", kSourceName, kBorrowedArrayLine);
}

SectionData::SectionData(const SectionPlane& plane, int32_t) : plane_(plane), ownsArray_(true) {
  SPtr<IRealPArrayFactory> factory;
  if (factory) pArray_ = factory->createArray(kOwnArrayEntryWidth, kOwnArrayCapacity);
  if (!pArray_) {
    ownsArray_ = false;
    reportAssertion("pArray_", kSourceName, kOwnArrayLine);
  }
}

SectionData::~SectionData() {
  if (ownsArray_) pArray_->destroy(1);
}

RealPArray* SectionData::giveUpArray() {
  if (!ownsArray_) return nullptr;
  ownsArray_ = false;
  return pArray_;
}

void SectionData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}

RealPArray* getPointArray(IZelDocObject* pointObject) {
  if (!pointObject) return nullptr;
  IZelUnknown* model = pointObject->subObject("PointModel");
  if (!model) return nullptr;
  void* points = nullptr;
  model->queryInterface(IZelPoints::interfaceName, &points, false);
  return points ? static_cast<IZelPoints*>(points)->array() : nullptr;
}
