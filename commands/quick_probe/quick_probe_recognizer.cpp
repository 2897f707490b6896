#include "commands/quick_probe/quick_probe_recognizer.h"

#include <algorithm>

#include "basic_types/bit_vector.h"
#include "commands/quick_probe/air_side.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "features/collectors/quick_probe_slot_collectors.h"
#include "features/placed_feature.h"
#include "features/slot_outline.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/feature_fitter.h"
#include "host_api/feature_kinds.h"
#include "host_api/feature_types.h"
#include "host_api/host_class_ids.h"
#include "host_api/module_class_ids.h"
#include "host_api/parameters.h"
#include "host_api/zel_mesh.h"

namespace {

// The initial size of a same-surface face set; it grows to the face ids.
constexpr int32_t kFaceSetBits = 10;
// The allowance by which an edge is preferred to a nearer face, in probe radii.
constexpr double kAllowanceRadii = 1.5;
// A touch whose contact lies this near an edge measures the edge: a rim is touched just below it, half a
// millimetre or so, or beside it on the plane, where deeper touches measure the wall below it, whatever the
// ball's size.
constexpr double kRimBand = 1.5e-3;
// How far a rim touch's contact may lie off the plane beside the edge, or off the line square to the plane
// through the edge point: a wall drawn by a degree or two stays within it over the band; a countersink's
// cone touched half a millimetre below its rim lies 0.4 mm off, on another circle than the rim's.
constexpr double kOffRim = 5e-5;
// How far inside a slot outline, and above its plane, its side is looked at: small beside any slot.
constexpr double kOutlineProbe = 1e-4;

void setInt(IZelFeatureFitter& fitter, const char16_t* name, int32_t value) {
  SPtr<IZelIntValue> parameter;
  if (!parameter) return;
  parameter->setValue(value);
  fitter.setParameter(ZelString(name), parameter.get());
}

void setDouble(IZelFeatureFitter& fitter, const char16_t* name, double value) {
  SPtr<IZelDoubleValue> parameter;
  if (!parameter) return;
  parameter->setValue(value);
  fitter.setParameter(ZelString(name), parameter.get());
}

IPtr<IZelFeature> fitted(IZelFeatureFitter& fitter) {
  IPtr<IZelFeature> feature;
  feature.takeOwnership(fitter.fit());
  return feature;
}

template <class Collector>
IPtr<IZelFeatureCollector> seededSlotCollector(IZelFeature* nominal) {
  IPtr<Collector> collector(new Collector);
  if (!collector->seedFromNominal(nominal)) return {};
  return IPtr<IZelFeatureCollector>(collector.get());
}

IPtr<IZelFeatureCollector> collectorByClass(const ZelID& id) {
  IPtr<IZelFeatureCollector> collector;
  collector.createInstance(id);
  return collector;
}

template <class Visit>
void forEachBit(const BitVector& bits, Visit&& visit) {
  for (int32_t bit = bits.findNext(-1); bit >= 0; bit = bits.findNext(bit)) visit(bit);
}

}  // namespace

bool QuickProbeRecognizer::attach(IZelMeshExt* mesh, int32_t modelId, const ObjectPlacement& placement) {
  detach();
  if (!mesh || !mesh->topology()) return false;
  if (!closestPoint_) closestPoint_.getService();
  if (!closestPoint_ || !closestPoint_->setCadModel(mesh->topology())) return false;
  topology_ = mesh->topology();
  cadModel_ = mesh->cadModel();
  modelId_ = modelId;
  placement_ = placement;
  return true;
}

void QuickProbeRecognizer::detach() {
  if (closestPoint_) closestPoint_->setCadModel(nullptr);
  topology_ = nullptr;
  cadModel_ = nullptr;
  placement_ = {};
  onUnmeasuredFace_ = false;
  airSides_.clear();
  touchDirections_.clear();
  touchOrder_.clear();
  faceIndex_.clear();
  edgeIndex_.clear();
  nominals_.clear();
  collectors_.clear();
  probed_.clear();
  fromReference_.clear();
  awaitingPlane_.clear();
  nextIndex_ = 1;
  currentIndex_ = kNone;
}

void QuickProbeRecognizer::setProbeRadius(double radius) {
  radius_ = radius;
  const double allowance = kAllowanceRadii * radius;
  allowanceSquared_ = allowance * allowance;
}

QuickProbeRecognizer::FaceOrEdge QuickProbeRecognizer::nearestFaceOrEdge(const Vector3& worldPoint) {
  FaceOrEdge nearest;
  // The placement is rigid: distances in the model's coordinates are the world's.
  const Vector3 point = placement_.toOwn(worldPoint);
  Vector3 closest, facePoint, edgePoint;
  uint32_t face = 0, edge = 0;
  if (!closestPoint_ || !closestPoint_->computeClosestPoint(point, closest)) return nearest;
  const bool hasEdge = closestPoint_->getClosestEdge(edge, edgePoint);
  const bool hasFace = closestPoint_->getClosestFace(face, facePoint);
  if (hasFace) nearest.face = static_cast<int32_t>(face);
  if (hasEdge) {
    nearest.edge = static_cast<int32_t>(edge);
    nearest.edgePoint = placement_.toWorld(edgePoint);
  }
  if (hasFace && hasEdge) {
    const double toFace = (point - facePoint).squaredLength();
    const double toEdge = (point - edgePoint).squaredLength();
    if (toFace < toEdge - allowanceSquared_)
      nearest.edge = kNone;
    else
      nearest.face = kNone;
  }
  return nearest;
}

int32_t QuickProbeRecognizer::indexFor(int32_t face, int32_t edge) {
  if (face != kNone) {
    if (const int32_t* known = faceIndex_.find(face)) return *known;
    BitVector faces(kFaceSetBits);
    topology_->sameSurfaceFaces(static_cast<uint32_t>(face), faces);
    // The face itself always, so that a set without it does not take a new index at every move.
    faces.set(face);
    const int32_t index = nextIndex_++;
    forEachBit(faces, [&](int32_t each) { faceIndex_.set(each, index); });
    return index;
  }
  if (edge == kNone) return kNone;
  if (const int32_t* known = edgeIndex_.find(edge)) return *known;
  BitVector edges(kFaceSetBits);
  IPtr<IZelFeature> feature = recreateEdge(edge, &edges);
  if (!feature) return kNone;
  edges.set(edge);
  const int32_t index = enterEdges(edges);
  if (IPtr<IZelFeature> nominal = placed(feature.get())) nominals_.set(index, nominal);
  return index;
}

int32_t QuickProbeRecognizer::enterEdges(const BitVector& edges) {
  const int32_t index = nextIndex_++;
  forEachBit(edges, [&](int32_t each) { edgeIndex_.set(each, index); });
  return index;
}

std::vector<int32_t> QuickProbeRecognizer::edgesOf(int32_t index) {
  std::vector<int32_t> edges;
  if (index == kNone) return edges;
  edgeIndex_.forEach([&](int32_t edge, int32_t owner) {
    if (owner == index) edges.push_back(edge);
  });
  std::sort(edges.begin(), edges.end());
  return edges;
}

int32_t QuickProbeRecognizer::enterReferenceFeature(IZelFeature* feature) {
  IPtr<IZelFeatureRecreationModifier> modifier;
  modifier.getService();
  if (!feature || !modifier) return kNone;
  IPtr<IZelCadRecreationRecord> record;
  record.takeOwnership(modifier->cadRecord(feature));
  const int32_t entities = record ? record->entityCount() : 0;
  if (entities < 1) return kNone;
  int32_t index = kNone;
  if (entities == 1) {
    index = nextIndex_++;
    forEachBit(record->faces(), [&](int32_t face) { faceIndex_.set(face, index); });
  } else {
    auto* construction = queryPart<IZelParameterTable>(feature->getParameter(ZelString(u"<Construction>")));
    auto* edge = construction
                     ? queryPart<IZelIntValue>(construction->getParameter(ZelString(u"<Edge Identifier>")))
                     : nullptr;
    BitVector edges(kFaceSetBits);
    if (!edge || !recreateEdge(edge->value(), &edges)) return kNone;
    index = enterEdges(edges);
  }
  if (IPtr<IZelFeature> nominal = placed(feature)) nominals_.set(index, nominal);
  fromReference_.set(index, true);
  return index;
}

IPtr<IZelFeature> QuickProbeRecognizer::placed(IZelFeature* own) const {
  return placedFeature(own, placement_.ownToWorld());
}

IPtr<IZelFeature> QuickProbeRecognizer::recreateFace(int32_t face) {
  if (face < 1) return {};
  IPtr<IZelFeatureFitter> fitter;
  fitter.createInstance(kHostCadFaceFitterClassId);
  if (!fitter) return {};
  setInt(*fitter, u"<CAD Model>", modelId_);
  setInt(*fitter, u"<Face Identifier>", face);
  setInt(*fitter, u"<Same Faces>", 1);
  setInt(*fitter, u"<Adjacent Only>", 1);
  setInt(*fitter, u"<ContactDatum>", 1);
  return fitted(*fitter);
}

IPtr<IZelFeature> QuickProbeRecognizer::recreateEdge(int32_t edge, BitVector* covered) {
  if (edge < 1) return {};
  IPtr<IZelFeatureFitter> fitter;
  fitter.createInstance(kHostCadEdgeFitterClassId);
  SPtr<IZelBitVectorArray> edges;
  if (!fitter || !edges) return {};
  setInt(*fitter, u"<CAD Model>", modelId_);
  setInt(*fitter, u"<Edge Identifier>", edge);
  setInt(*fitter, u"<Allow Convert To Arc>", 1);
  setDouble(*fitter, u"<Offset>", 0.0);
  fitter->setParameter(ZelString(u"<CadEdgeBvs>"), edges.get());
  IPtr<IZelFeature> feature = fitted(*fitter);
  if (feature && covered && edges->count() >= 1) *covered = *edges->bitVectorAt(1);
  return feature;
}

IPtr<IZelFeatureCollector> QuickProbeRecognizer::createCollectorForNominal(IZelFeature* nominal) {
  if (queryPart<IZelPlane>(nominal)) return collectorByClass(kPlaneCollectorClassId);
  if (queryPart<IZelCylinder>(nominal)) return collectorByClass(kCylinderCollectorClassId);
  if (queryPart<IZelSphere>(nominal)) return collectorByClass(kSphereCollectorClassId);
  if (queryPart<IZelCone>(nominal)) return collectorByClass(kConeCollectorClassId);
  if (queryPart<IZelLine>(nominal)) return collectorByClass(kLineCollectorClassId);
  if (queryPart<IZelArc>(nominal)) return collectorByClass(kCircleCollectorClassId);
  if (queryPart<IZelRoundedSlot>(nominal))
    return seededSlotCollector<QuickProbeRoundedSlotCollector>(nominal);
  if (queryPart<IZelOvalSlot>(nominal)) return seededSlotCollector<QuickProbeOvalSlotCollector>(nominal);
  if (queryPart<IZelRectangularSlot>(nominal))
    return seededSlotCollector<QuickProbeRectangularSlotCollector>(nominal);
  return {};
}

bool QuickProbeRecognizer::readyCollector(int32_t index, IZelFeature* nominal, IZelFeature* workPlane) {
  if (collectors_.find(index)) return true;
  IPtr<IZelFeatureCollector> collector = createCollectorForNominal(nominal);
  if (!collector) {
    // Dropped, so that the next point tries again.
    nominals_.erase(index);
    return false;
  }
  if (auto* receiver = queryPart<IZelHardProbeDataReceiver>(collector.get()))
    receiver->setProbeRadius(radius_);
  collector->refreshInfo();
  if (workPlane)
    collector->acceptFeature(workPlane);
  else if (dynamic_cast<QuickProbeSlotCollector*>(collector.get()))
    awaitingPlane_.set(index, true);
  collectors_.set(index, collector);
  return true;
}

int32_t QuickProbeRecognizer::nominalForFace(int32_t face) {
  const int32_t index = indexFor(face, kNone);
  IPtr<IZelFeature>* nominal = nominals_.find(index);
  if (!nominal) {
    IPtr<IZelFeature> made = placed(recreateFace(face).get());
    if (!made) {
      currentIndex_ = index;
      return kNone;
    }
    nominal = &nominals_.findOrInsert(index, made);
  }
  IPtr<IZelFeature> kept = *nominal;
  if (!readyCollector(index, kept.get(), nullptr)) return kNone;
  currentIndex_ = index;
  return index;
}

IZelFeature* QuickProbeRecognizer::planeBeside(int32_t edge, int32_t side) {
  const uint32_t face = topology_->edgeFace(static_cast<uint32_t>(edge), side);
  const int32_t* index = face ? faceIndex_.find(static_cast<int32_t>(face)) : nullptr;
  if (!index) return nullptr;
  // A nominal only shown as the probe passed by is not known yet: the face under touches taken before any
  // plane is probed is theirs, even near its edge.
  IPtr<IZelFeature>* candidate = probed_.find(*index);
  if (!candidate && fromReference_.find(*index)) candidate = nominals_.find(*index);
  if (!candidate || !queryPart<IZelPlane>(candidate->get())) return nullptr;
  return candidate->get();
}

int32_t QuickProbeRecognizer::nominalForEdge(int32_t edge, const Vector3& point, const Vector3& centre) {
  for (int32_t side : {0, 1}) {
    IPtr<IZelFeature> plane(planeBeside(edge, side));
    if (!plane) continue;
    if (!contactOnRim(centre, point, queryPart<IZelPlane>(plane.get())->normal())) return kNone;
    const int32_t index = indexFor(kNone, edge);
    IPtr<IZelFeature>* nominal = index == kNone ? nullptr : nominals_.find(index);
    if (!nominal) {
      IPtr<IZelFeature> made = placed(recreateEdge(edge, nullptr).get());
      if (!made) return kNone;
      nominal = &nominals_.findOrInsert(index, made);
    }
    IPtr<IZelFeature> kept = *nominal;
    // The part's own outline is no slot: its touches belong to the face beside it.
    if (IZelSlotOutline* outline = slotOutlineOf(kept.get()); outline && !outlinesHole(*outline, point))
      return kNone;
    if (!readyCollector(index, kept.get(), plane.get())) return kNone;
    currentIndex_ = index;
    return index;
  }
  return kNone;
}

bool QuickProbeRecognizer::contactOnRim(const Vector3& centre, const Vector3& edgePoint,
                                        const Vector3& planeNormal) {
  Vector3 contact;
  uint32_t face = 0;
  if (!nearestFace(centre, face, contact)) return false;
  const Vector3 normal = planeNormal.normalized();
  const Vector3 off = contact - edgePoint;
  const double across = std::fabs(off.dot(normal));
  const double along = Vector3::perpendicularPart(off, normal).length();
  return off.length() <= kRimBand && std::min(across, along) <= kOffRim;
}

bool QuickProbeRecognizer::outlinesHole(IZelSlotOutline& outline, const Vector3& edgePoint) {
  const Vector3 normal = Vector3::cross(outline.axis(), outline.secondDirection()).normalized();
  const Vector3 inside =
      edgePoint +
      Vector3::perpendicularPart(outline.center() - edgePoint, normal).normalized() * kOutlineProbe;
  Vector3 facePoint;
  uint32_t face = 0;
  if (!nearestFace(inside + normal * kOutlineProbe, face, facePoint)) return true;
  // Material right below: the outline bounds its face rather than a hole in it.
  return (facePoint - inside).length() > kOutlineProbe / 10;
}

int32_t QuickProbeRecognizer::recognise(const Vector3& point) {
  onUnmeasuredFace_ = false;
  if (!topology_) return kNone;
  FaceOrEdge nearest = nearestFaceOrEdge(point);
  int32_t index = kNone;
  if (nearest.edge != kNone) {
    index = nominalForEdge(nearest.edge, nearest.edgePoint, point);
    if (index == kNone) {
      // Not beside a known plane, or no hole's outline: the nearest face instead.
      Vector3 facePoint;
      uint32_t face = 0;
      nearest.face = nearestFace(point, face, facePoint) ? static_cast<int32_t>(face) : kNone;
    }
  }
  if (index == kNone && nearest.face != kNone) {
    index = nominalForFace(nearest.face);
    onUnmeasuredFace_ = index == kNone;
  }
  return index;
}

bool QuickProbeRecognizer::nearestFace(const Vector3& point, uint32_t& face, Vector3& facePoint) {
  Vector3 closest, own;
  if (!closestPoint_ || !closestPoint_->computeClosestPoint(placement_.toOwn(point), closest) ||
      !closestPoint_->getClosestFace(face, own))
    return false;
  facePoint = placement_.toWorld(own);
  return true;
}

IZelFeature* QuickProbeRecognizer::nominal(int32_t index) {
  IPtr<IZelFeature>* found = nominals_.find(index);
  return found ? found->get() : nullptr;
}

IZelFeatureCollector* QuickProbeRecognizer::collector(int32_t index) {
  IPtr<IZelFeatureCollector>* found = collectors_.find(index);
  return found ? found->get() : nullptr;
}

std::vector<QuickProbeRecognizer::Entry> QuickProbeRecognizer::collectorsInOrder() {
  std::vector<Entry> entries;
  collectors_.forEach([&](int32_t index, const IPtr<IZelFeatureCollector>& collector) {
    entries.push_back({index, IPtr<IZelFeature>(nominal(index)), collector});
  });
  return entries;
}

bool QuickProbeRecognizer::acceptsPoints(int32_t index) {
  return collectors_.find(index) && !awaitingPlane_.find(index);
}

void QuickProbeRecognizer::removeCollector(int32_t index) {
  collectors_.erase(index);
  awaitingPlane_.erase(index);
  touchDirections_.erase(index);
  std::erase(touchOrder_, index);
}

void QuickProbeRecognizer::setProbed(int32_t index, IZelFeature* probed) {
  probed_.set(index, IPtr<IZelFeature>(probed));
}

void QuickProbeRecognizer::noteTouch(int32_t index, const Vector3& touch, const Vector3& direction) {
  touchDirections_.findOrInsert(index, {}).push_back(direction);
  touchOrder_.push_back(index);
  learnAirSide(index, touch);
}

int32_t QuickProbeRecognizer::touchCount(int32_t index) {
  return static_cast<int32_t>(touchDirections(index).size());
}

std::span<const Vector3> QuickProbeRecognizer::touchDirections(int32_t index) {
  const std::vector<Vector3>* directions = touchDirections_.find(index);
  return directions ? std::span<const Vector3>(*directions) : std::span<const Vector3>();
}

int32_t QuickProbeRecognizer::takeBackLastTouch() {
  if (touchOrder_.empty()) return kNone;
  const int32_t index = touchOrder_.back();
  touchOrder_.pop_back();
  if (std::vector<Vector3>* directions = touchDirections_.find(index); directions && !directions->empty())
    directions->pop_back();
  return index;
}

void QuickProbeRecognizer::learnAirSide(int32_t index, const Vector3& touch) {
  IZelFeature* feature = nominal(index);
  Vector3 facePoint;
  uint32_t face = 0;
  if (airSides_.find(index) || !feature || !cadModel_ || !nearestFace(touch, face, facePoint)) return;
  ZelMeshLocation location;
  double at[3], point[3], normal[3];
  placement_.toOwn(facePoint).copyTo(at);
  if (!cadModel_->locate(face, at, &location) || !cadModel_->evaluate(location, point, normal)) return;
  const std::optional<Vector3> air =
      airSidePoint(*feature, placement_.toWorld(Vector3(point[0], point[1], point[2])),
                   placement_.directionToWorld(Vector3(normal[0], normal[1], normal[2])), touch);
  if (air) airSides_.set(index, *air);
}

std::optional<Vector3> QuickProbeRecognizer::airSide(int32_t index) {
  const Vector3* air = airSides_.find(index);
  return air ? std::optional<Vector3>(*air) : std::nullopt;
}
