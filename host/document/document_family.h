#pragma once

// The host's document: its objects, with their graphics, builder and remover, the point-array factory and
// the document events, with fresh point values and point sets.

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/document/host_document.h"
#include "host/document/host_event_data_store.h"
#include "host/document/host_object_editors.h"
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

  std::vector<SharedService> sharedServices() const override;
  std::vector<FreshObject> freshObjects() const override;

 private:
  IPtr<HostDocument> doc_;
  IPtr<HostGfxDoc> graphics_;
  IPtr<HostObjectBuilder> builder_;
  IPtr<HostObjectRemover> remover_;
  IPtr<HostRealPArrayFactory> arrays_;
  IPtr<HostEventDataStore> eventDataStore_;
};
