#include "host/document/document_family.h"

#include "host/document/host_point_objects.h"

DocumentFamily::DocumentFamily()
    : doc_(new HostDocument),
      graphics_(new HostGfxDoc),
      builder_(new HostObjectBuilder(doc_.get())),
      remover_(new HostObjectRemover(doc_.get())),
      arrays_(new HostRealPArrayFactory),
      eventDataStore_(new HostEventDataStore) {}

std::vector<ServiceFamily::SharedService> DocumentFamily::sharedServices() const {
  return {
      {IZelDoc::interfaceName, doc_.get()},
      {IGfxDoc::interfaceName, graphics_.get()},
      {IZelObjectBuilder::interfaceName, builder_.get()},
      {IZelObjectRemover::interfaceName, remover_.get()},
      {IRealPArrayFactory::interfaceName, arrays_.get()},
      {IEventDataStore::interfaceName, eventDataStore_.get()},
  };
}

// The module owns every point value and point set it asks for, and a worker thread never shares a document.
std::vector<ServiceFamily::FreshObject> DocumentFamily::freshObjects() const {
  return {
      {IZelPoints::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoints); }},
      {IZelPoint::interfaceName, [] { return static_cast<IZelUnknown*>(new HostPoint); }},
  };
}
