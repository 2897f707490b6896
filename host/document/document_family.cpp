#include "host/document/document_family.h"

#include "host/document/features/host_arc.h"
#include "host/document/features/host_cone.h"
#include "host/document/features/host_cylinder.h"
#include "host/document/features/host_line.h"
#include "host/document/features/host_oval_slot.h"
#include "host/document/features/host_parallel_planes.h"
#include "host/document/features/host_plane.h"
#include "host/document/features/host_point.h"
#include "host/document/features/host_rectangular_slot.h"
#include "host/document/features/host_rounded_slot.h"
#include "host/document/features/host_sphere.h"
#include "host/document/features/host_target_point.h"
#include "host/document/host_point_objects.h"
#include "host/document/host_point_regions.h"
#include "host/document/host_recreation_modifier.h"
#include "host/document/parameters/host_bit_vector_array.h"
#include "host/document/parameters/host_embedded_feature_parameter.h"
#include "host/document/parameters/host_feature_constraint_parameter.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host/document/parameters/host_single_values.h"
#include "host/document/parameters/host_vectors_value.h"

namespace {

// The table line that makes a new T for every lookup of its interface name.
template <class T>
ServiceFamily::FreshObject freshFeature(const char* name) {
  return {name, [] { return static_cast<IZelUnknown*>(new T); }};
}

}  // namespace

DocumentFamily::DocumentFamily()
    : doc_(new HostDocument),
      graphics_(new HostGfxDoc),
      builder_(new HostObjectBuilder(doc_.get())),
      remover_(new HostObjectRemover(doc_.get())),
      arrays_(new HostRealPArrayFactory),
      eventDataStore_(new HostEventDataStore),
      featureTypes_(new HostFeatureTypeFinder),
      statistics_(new HostFeatureStatisticsEvaluator) {}

std::vector<ServiceFamily::SharedService> DocumentFamily::sharedServices() const {
  return {
      {IZelDoc::interfaceName, doc_.get()},
      {IGfxDoc::interfaceName, graphics_.get()},
      {IZelObjectBuilder::interfaceName, builder_.get()},
      {IZelObjectRemover::interfaceName, remover_.get()},
      {IRealPArrayFactory::interfaceName, arrays_.get()},
      {IEventDataStore::interfaceName, eventDataStore_.get()},
      {IZelFeatureTypeFinder::interfaceName, featureTypes_.get()},
      {IZelFeatureStatisticsEvaluator::interfaceName, statistics_.get()},
  };
}

// The module owns every point set, feature, parameter value and parameter table it asks for, and a worker
// thread never shares a document. Complexes, region handlers and recreation modifiers hold what a caller set
// on them between two calls, so no two callers may share one either.
std::vector<ServiceFamily::FreshObject> DocumentFamily::freshObjects() const {
  return {
      {IZelPoints::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoints); }},
      freshFeature<HostPoint>(IZelPoint::interfaceName),
      freshFeature<HostTargetPoint>(IZelTargetPoint::interfaceName),
      freshFeature<HostPlane>(IZelPlane::interfaceName),
      freshFeature<HostLine>(IZelLine::interfaceName),
      freshFeature<HostArc>(IZelArc::interfaceName),
      freshFeature<HostSphere>(IZelSphere::interfaceName),
      freshFeature<HostCylinder>(IZelCylinder::interfaceName),
      freshFeature<HostCone>(IZelCone::interfaceName),
      freshFeature<HostParallelPlanes>(IZelParallelPlanes::interfaceName),
      freshFeature<HostOvalSlot>(IZelOvalSlot::interfaceName),
      freshFeature<HostRectangularSlot>(IZelRectangularSlot::interfaceName),
      freshFeature<HostRoundedSlot>(IZelRoundedSlot::interfaceName),
      {IZelVectorsValue::interfaceName, [] { return static_cast<IZelUnknown*>(new HostVectorsValue); }},
      {IZelVectorValue::interfaceName, [] { return static_cast<IZelUnknown*>(new HostVectorValue); }},
      {IZelDoubleValue::interfaceName, [] { return static_cast<IZelUnknown*>(new HostDoubleValue); }},
      {IZelIntValue::interfaceName, [] { return static_cast<IZelUnknown*>(new HostIntValue); }},
      {IZelIDValue::interfaceName, [] { return static_cast<IZelUnknown*>(new HostIDValue); }},
      {IZelEmbeddedFeatureParameter::interfaceName,
       [] { return static_cast<IZelUnknown*>(new HostEmbeddedFeatureParameter); }},
      {IZelFeatureConstraintParameter::interfaceName,
       [] { return static_cast<IZelUnknown*>(new HostFeatureConstraintParameter); }},
      {IZelBitVectorArray::interfaceName, [] { return static_cast<IZelUnknown*>(new HostBitVectorArray); }},
      {IZelParameterTable::interfaceName, [] { return static_cast<IZelUnknown*>(new HostParameterTable); }},
      {IComplex0D::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoints); }},
      {IZelCreateRegionHandler::interfaceName,
       [] { return static_cast<IZelUnknown*>(new HostCreateRegionHandler); }},
      {IZelFeatureRecreationModifier::interfaceName,
       [] { return static_cast<IZelUnknown*>(new HostRecreationModifier); }},
  };
}
