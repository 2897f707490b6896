#include "host/cad/cad_family.h"

#include "host/cad/cad_fitters.h"
#include "host/cad/host_aligner.h"
#include "host/cad/host_tolerancer.h"
#include "host_api/host_class_ids.h"
#include "host_api/module_class_ids.h"
#include "host_api/registry_paths.h"

std::vector<ServiceFamily::HostClass> CadFamily::hostClasses() const {
  return {
      hostClassOf<HostSparseTolerancer>(kHostSparseTolerancerClassId, {ISparseTolerancer::interfaceName}),
      hostClassOf<HostDistanceEvaluator>(kHostDistanceEvaluatorClassId,
                                         {IToleranceDistanceEvaluator::interfaceName}),
      hostClassOf<HostCadFaceFitter>(kHostCadFaceFitterClassId, {}),
      hostClassOf<HostCadEdgeFitter>(kHostCadEdgeFitterClassId, {}),
      hostClassOf<HostAligner>(kHostAlignerClassId, {IAligner::interfaceName}),
      hostClassOf<HostAlignerInput>(kHostAlignerInputClassId, {IAligner_Input_Complex::interfaceName}),
      hostClassOf<HostClosestPointOnMesh>(kHostClosestPointOnMeshClassId,
                                          {IZelClosestPointOnMesh::interfaceName}),
  };
}

std::vector<ServiceFamily::RegistryEntry> CadFamily::registryEntries() const {
  return {{std::string(kServicesPath) + "IZelClosestPointOnCad", kClosestPointOnCadClassId}};
}
