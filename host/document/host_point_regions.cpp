#include "host/document/host_point_regions.h"

#include "framework/object/query_chain.h"

bool HostPointRegion::pointAt(int32_t i, Vector3& out) {
  const double* entry = points_->at(i);
  if (!entry) return false;
  out = {entry[0], entry[1], entry[2]};
  return true;
}

void HostPointRegion::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelRegionHandler>(this)
      .offer<IZelPointSetInterface>(this)
      .end();
}

bool HostCreateRegionHandler::makesRegionsOf(int32_t component, bool whole) const {
  return dimension_ == kPointCells && parentRegion_ == kNoParentRegion && options_ == kNoOptions &&
         component == 0 && whole;
}

IZelRegionHandler* HostCreateRegionHandler::createRegion(IComplex0D* complex, int32_t component, bool whole) {
  if (!complex || !makesRegionsOf(component, whole)) return nullptr;
  RealPArray* points = complex->array();
  if (!points || points->count() == 0) return nullptr;
  auto* region = new HostPointRegion(points);
  region->addRef();  // the caller's reference
  return region;
}

void HostCreateRegionHandler::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelCreateRegionHandler>(this).end();
}
