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
#include "host/document/host_point_uniform_sampler.h"
#include "host/document/host_recreation_modifier.h"
#include "host/document/parameters/host_bit_vector_array.h"
#include "host/document/parameters/host_embedded_feature_parameter.h"
#include "host/document/parameters/host_feature_constraint_parameter.h"
#include "host/document/parameters/host_parameter_table.h"
#include "host/document/parameters/host_single_values.h"
#include "host/document/parameters/host_vectors_value.h"
#include "host_api/feature_type_ids.h"
#include "host_api/host_class_ids.h"
#include "host_api/module_class_ids.h"
#include "host_api/registry_paths.h"

DocumentFamily::DocumentFamily()
    : doc_(new HostDocument),
      graphics_(new HostGfxDoc),
      phases_(new HostPhaseService(doc_.get())),
      builder_(new HostObjectBuilder(doc_.get())),
      remover_(new HostObjectRemover(doc_.get())),
      arrays_(new HostRealPArrayFactory),
      eventDataStore_(new HostEventDataStore),
      featureTypes_(new HostFeatureTypeFinder),
      statistics_(new HostFeatureStatisticsEvaluator),
      csys_(new HostCSysService) {}

std::vector<ServiceFamily::SharedService> DocumentFamily::sharedServices() const {
  return {
      {IZelDoc::interfaceName, doc_.get()},
      {IPhaseService::interfaceName, phases_.get()},
      {IGfxDoc::interfaceName, graphics_.get()},
      {IZelObjectBuilder::interfaceName, builder_.get()},
      {IZelObjectRemover::interfaceName, remover_.get()},
      {IRealPArrayFactory::interfaceName, arrays_.get()},
      {IEventDataStore::interfaceName, eventDataStore_.get()},
      {IZelFeatureTypeFinder::interfaceName, featureTypes_.get()},
      {IZelFeatureStatisticsEvaluator::interfaceName, statistics_.get()},
      {ICSysService::interfaceName, csys_.get()},
  };
}

// The module owns every point set, feature, parameter value and parameter table it asks for, and a worker
// thread never shares a document. Complexes, region handlers and recreation modifiers hold what a caller set
// on them between two calls, so no two callers may share one either.
std::vector<ServiceFamily::HostClass> DocumentFamily::hostClasses() const {
  std::vector<HostClass> classes{
      hostClassOf<HostPoints>(kHostPointSetClassId, {IZelPoints::interfaceName, IComplex0D::interfaceName}),
      hostClassOf<HostPoint>(kHostPointClassId, {IZelPoint::interfaceName}),
      hostClassOf<HostPointUniformSampler>(kHostPointUniformSamplerClassId,
                                           {IPointUniformSampler::interfaceName}),
      hostClassOf<HostTargetPoint>(kHostTargetPointClassId, {IZelTargetPoint::interfaceName}),
      hostClassOf<HostPlane>(kHostPlaneClassId, {IZelPlane::interfaceName}),
      hostClassOf<HostLine>(kHostLineClassId, {IZelLine::interfaceName}),
      hostClassOf<HostArc>(kHostArcClassId, {IZelArc::interfaceName}),
      hostClassOf<HostSphere>(kHostSphereClassId, {IZelSphere::interfaceName}),
      hostClassOf<HostCylinder>(kHostCylinderClassId, {IZelCylinder::interfaceName}),
      hostClassOf<HostCone>(kHostConeClassId, {IZelCone::interfaceName}),
      hostClassOf<HostParallelPlanes>(kHostParallelPlanesClassId, {IZelParallelPlanes::interfaceName}),
      hostClassOf<HostOvalSlot>(kHostOvalSlotClassId, {IZelOvalSlot::interfaceName}),
      hostClassOf<HostRectangularSlot>(kHostRectangularSlotClassId, {IZelRectangularSlot::interfaceName}),
      hostClassOf<HostRoundedSlot>(kHostRoundedSlotClassId, {IZelRoundedSlot::interfaceName}),
      hostClassOf<HostVectorsValue>(kHostVectorsValueClassId, {IZelVectorsValue::interfaceName}),
      hostClassOf<HostVectorValue>(kHostVectorValueClassId, {IZelVectorValue::interfaceName}),
      hostClassOf<HostDoubleValue>(kHostDoubleValueClassId, {IZelDoubleValue::interfaceName}),
      hostClassOf<HostIntValue>(kHostIntValueClassId, {IZelIntValue::interfaceName}),
      hostClassOf<HostIDValue>(kHostIDValueClassId, {IZelIDValue::interfaceName}),
      hostClassOf<HostEmbeddedFeatureParameter>(kHostEmbeddedFeatureParameterClassId,
                                                {IZelEmbeddedFeatureParameter::interfaceName}),
      hostClassOf<HostFeatureConstraintParameter>(kHostFeatureConstraintParameterClassId,
                                                  {IZelFeatureConstraintParameter::interfaceName}),
      hostClassOf<HostBitVectorArray>(kHostBitVectorArrayClassId, {IZelBitVectorArray::interfaceName}),
      hostClassOf<HostParameterTable>(kHostParameterTableClassId, {IZelParameterTable::interfaceName}),
      hostClassOf<HostCreateRegionHandler>(kHostCreateRegionHandlerClassId,
                                           {IZelCreateRegionHandler::interfaceName}),
      hostClassOf<HostRecreationModifier>(kHostRecreationModifierClassId,
                                          {IZelFeatureRecreationModifier::interfaceName}),
  };
  // Each kind's type by its id (the id its registry path holds), served by no name.
  for (const FeatureKind& kind : featureKinds())
    classes.push_back({kind.classId, {}, [kind] {
                         return static_cast<IZelUnknown*>(
                             new HostFeatureType(kind.classId, kind.displayName));
                       }});
  return classes;
}

// Every kind's type id under its path: the path makes the kind's feature type, as the finder answers it.
std::vector<ServiceFamily::RegistryEntry> DocumentFamily::registryEntries() const {
  std::vector<RegistryEntry> entries;
  for (const FeatureKind& kind : featureKinds())
    entries.push_back({std::string(kFeatureTypesPath) + kind.interfaceName, kind.classId});
  for (const FeatureCollectorEntry& collector : kFeatureCollectors)
    entries.push_back({std::string(kFeatureCollectorsPath) + collector.name, collector.classId});
  return entries;
}
