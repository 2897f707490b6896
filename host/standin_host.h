#pragma once

// The stand-in host: a real host of our own, with every service the module reaches through its root, in
// families that each own their objects and say what they offer: the core (root, errors, data store, main
// loop, optional services), the document, the scene, the user interface, the services of the device
// layer, the fitters and the CAD services. The host puts their services, classes and registry entries on the
// root together (the registry names the module's own services the root answers), and takes everything off
// again when it goes.
//
// The thread that makes the host is its main thread: the main loop delivers there only.

#include <array>

#include "host/cad/cad_family.h"
#include "host/core/core_family.h"
#include "host/devices/device_services_family.h"
#include "host/document/document_family.h"
#include "host/files/file_services_family.h"
#include "host/fitting/fitting_family.h"
#include "host/gui/gui_family.h"
#include "host/scene/scene_family.h"
#include "host_api/zel_component.h"

class StandinHost {
 public:
  StandinHost();
  StandinHost(const StandinHost&) = delete;
  StandinHost& operator=(const StandinHost&) = delete;
  ~StandinHost();

  HostRoot& root() { return core_.root(); }
  CoreFamily& core() { return core_; }
  DocumentFamily& document() { return document_; }
  SceneFamily& scene() { return scene_; }
  GuiFamily& gui() { return gui_; }
  DeviceServicesFamily& devices() { return devices_; }
  FittingFamily& fitters() { return fitting_; }
  CadFamily& cad() { return cad_; }
  FileServicesFamily& files() { return files_; }

  // Tells every shutdown listener, once, on the calling (main) thread; the host does so before it lets go of
  // the module. Answers how many were told.
  size_t shutdown() { return core_.shutdownService().shutdown(); }

  // Every family, in the order they are installed.
  std::array<const ServiceFamily*, 8> families() const {
    return {&core_, &document_, &scene_, &gui_, &devices_, &fitting_, &cad_, &files_};
  }

  // Lets the root create the component's classes and hands the component the root.
  void attach(IZelComponent* component);

 private:
  // In dependency order: a family is made after those it is given.
  CoreFamily core_;
  DocumentFamily document_;
  SceneFamily scene_;
  GuiFamily gui_;
  DeviceServicesFamily devices_;
  FittingFamily fitting_;
  CadFamily cad_;
  FileServicesFamily files_;
};
