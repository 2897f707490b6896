#pragma once

// Registers a class in the module's registry while the module loads. Each class's own source file holds one:
//
//   const ClassRegistration<PalperaDataItemAdder> registration(registeredClass("PalperaDataItemAdder"));
//
// The table entry decides the id, the registered name and whether the class is a singleton.

#include <memory>

#include "framework/component/item_factory.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/registrations/registered_classes.h"

template <class T>
class ClassRegistration {
 public:
  explicit ClassRegistration(const RegisteredClass& entry) {
    if (entry.singleton) {
      factory_ = std::make_unique<ZelSingletonTClassItemFactory<T>>(entry.name.data(), entry.id);
    } else {
      factory_ = std::make_unique<ZelTClassItemFactory<T>>(entry.name.data(), entry.id);
    }
    registerItemFactory(getClassFactory(), factory_.get());
  }
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;

 private:
  std::unique_ptr<ZelItemFactory> factory_;
};
