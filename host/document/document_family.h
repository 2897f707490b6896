#pragma once

// The host's document: its objects, with their graphics, builder and remover, the point-array factory, the
// document events, the feature-type finder and the statistics evaluator, with fresh point values, point sets,
// parameter values and parameter tables, point complexes, region handlers and recreation modifiers.

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/document/host_csys_service.h"
#include "host/document/host_document.h"
#include "host/document/host_event_data_store.h"
#include "host/document/host_feature_statistics.h"
#include "host/document/host_feature_types.h"
#include "host/document/host_object_editors.h"
#include "host/document/host_phase_service.h"
#include "host/document/host_real_parray.h"

class DocumentFamily : public ServiceFamily {
 public:
  DocumentFamily();

  HostDocument& doc() { return *doc_; }
  HostGfxDoc& graphics() { return *graphics_; }
  HostObjectBuilder& builder() { return *builder_; }
  HostObjectRemover& remover() { return *remover_; }
  HostRealPArrayFactory& arrays() { return *arrays_; }
  HostEventDataStore& eventDataStore() { return *eventDataStore_; }
  HostFeatureTypeFinder& featureTypes() { return *featureTypes_; }
  HostFeatureStatisticsEvaluator& statistics() { return *statistics_; }
  HostCSysService& csys() { return *csys_; }

  std::vector<SharedService> sharedServices() const override;
  std::vector<HostClass> hostClasses() const override;
  std::vector<RegistryEntry> registryEntries() const override;

 private:
  IPtr<HostDocument> doc_;
  IPtr<HostGfxDoc> graphics_;
  IPtr<HostPhaseService> phases_;
  IPtr<HostObjectBuilder> builder_;
  IPtr<HostObjectRemover> remover_;
  IPtr<HostRealPArrayFactory> arrays_;
  IPtr<HostEventDataStore> eventDataStore_;
  IPtr<HostFeatureTypeFinder> featureTypes_;
  IPtr<HostFeatureStatisticsEvaluator> statistics_;
  IPtr<HostCSysService> csys_;
};
