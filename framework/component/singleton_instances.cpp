#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "basic_types/no_destructor.h"
#include "framework/component/item_factory.h"
#include "framework/object/host_detach.h"

namespace {

struct Enrolled {
  std::mutex mutex;
  std::vector<std::pair<void*, SingletonInstances::Release>> factories;  // guarded by mutex
};

Enrolled& enrolled() {
  static NoDestructor<Enrolled> instance;
  return *instance;
}

// Singletons hold host services: they go when the module leaves its host.
const bool releasedOnDetach = (addDetachStep(&SingletonInstances::releaseAll), true);

}  // namespace

void SingletonInstances::enrol(void* factory, Release release) {
  std::lock_guard lock(enrolled().mutex);
  enrolled().factories.emplace_back(factory, release);
}

void SingletonInstances::withdraw(void* factory) {
  std::lock_guard lock(enrolled().mutex);
  auto& list = enrolled().factories;
  list.erase(
      std::remove_if(list.begin(), list.end(), [factory](const auto& e) { return e.first == factory; }),
      list.end());
}

void SingletonInstances::releaseAll() {
  std::vector<std::pair<void*, Release>> factories;
  {
    std::lock_guard lock(enrolled().mutex);
    factories = enrolled().factories;
  }
  for (auto it = factories.rbegin(); it != factories.rend(); ++it) it->second(it->first);
}
