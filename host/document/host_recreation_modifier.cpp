#include "host/document/host_recreation_modifier.h"

#include "basic_types/bit_vector.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"
#include "host_api/parameters.h"
#include "host_api/zel_cad.h"

namespace {

// The one mode callers apply: bring a new feature in line before it is shown.
constexpr int32_t kNewFeature = 0;

class HostCadRecreationRecord : public IZelCadRecreationRecord, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCadRecreationRecord";

  HostCadRecreationRecord(IZelParameterTable& construction, bool fromFace) : faces_(1), edges_(1) {
    copyBits(construction.getParameter(ZelString(u"<CadFaceBvs>")), faces_);
    copyBits(construction.getParameter(ZelString(u"<CadEdgeBvs>")), edges_);
    entities_ = fromFace ? 1 : static_cast<int32_t>(faces_.count() + edges_.count());
  }

  int32_t entityCount() override { return entities_; }
  const BitVector& faces() override { return faces_; }
  const BitVector& edges() override { return edges_; }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelCadRecreationRecord>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  static void copyBits(IZelParameter* value, BitVector& bits) {
    auto* array = queryPart<IZelBitVectorArray>(value);
    if (array && array->count() >= 1) bits = *array->bitVectorAt(1);
  }

  BitVector faces_;
  BitVector edges_;
  int32_t entities_ = 0;
};

}  // namespace

IZelCadRecreationRecord* HostRecreationModifier::cadRecord(IZelFeature* feature) {
  auto* construction =
      feature ? queryPart<IZelParameterTable>(feature->getParameter(ZelString(u"<Construction>"))) : nullptr;
  if (!construction) return nullptr;
  const bool fromFace = construction->getParameter(ZelString(u"<Face Identifier>")) != nullptr;
  if (!fromFace && !construction->getParameter(ZelString(u"<Edge Identifier>"))) return nullptr;
  auto* record = new HostCadRecreationRecord(*construction, fromFace);
  record->addRef();  // the caller's reference
  return record;
}

bool HostRecreationModifier::setFeature(IZelFeature* feature) {
  if (!feature) return false;
  feature_ = feature;
  return true;
}

bool HostRecreationModifier::apply(int32_t mode) {
  if (!feature_ || mode != kNewFeature) return false;
  feature_ = nullptr;
  return true;
}

void HostRecreationModifier::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelFeatureRecreationModifier>(this).end();
}
