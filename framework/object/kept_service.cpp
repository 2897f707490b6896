#include "framework/object/kept_service.h"

#include <vector>

#include "basic_types/no_destructor.h"

namespace {

struct Enrolled {
  std::mutex mutex;
  std::vector<KeptServiceBase*> services;  // guarded by mutex
};

Enrolled& enrolled() {
  static NoDestructor<Enrolled> instance;
  return *instance;
}

}  // namespace

KeptServiceBase::KeptServiceBase() {
  std::lock_guard lock(enrolled().mutex);
  enrolled().services.push_back(this);
}

void forgetKeptServices() {
  std::vector<KeptServiceBase*> services;
  {
    std::lock_guard lock(enrolled().mutex);
    services = enrolled().services;
  }
  for (KeptServiceBase* service : services) service->forget();
}
