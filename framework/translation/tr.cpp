#include "framework/translation/tr.h"

#include <mutex>

#include "basic_types/no_destructor.h"
#include "framework/object/module_id.h"
#include "framework/translation/zel_trivial_translator.h"

namespace {

struct HeldTranslator {
  std::mutex mutex;
  IPtr<IZelTranslator> translator;  // guarded by mutex
  bool hostAnswered = false;        // guarded by mutex; set once the host's translator service has answered
};

HeldTranslator& held() {
  static NoDestructor<HeldTranslator> instance;
  return *instance;
}

// Asks the host's translator service, outside any lock. Answers false when the host has no such service.
bool askTranslatorService(IPtr<IZelTranslator>& answer) {
  IPtr<IZelTranslatorService> service;
  service.getService();
  if (!service) return false;
  answer.assign(service->translator(&moduleId()));
  return true;
}

}  // namespace

IPtr<IZelTranslator> moduleTranslator() {
  HeldTranslator& h = held();
  bool holdsNone = false;
  {
    std::lock_guard lock(h.mutex);
    if (h.hostAnswered && h.translator) return h.translator;
    holdsNone = !h.translator;
  }
  IPtr<IZelTranslator> answer;
  bool answered = askTranslatorService(answer);
  if (answered && !answer && holdsNone) answer.getService();  // a translator registered directly as a service

  IPtr<IZelTranslator> retired;  // released once the lock is left
  std::lock_guard lock(h.mutex);
  if (answered && !h.hostAnswered) {
    // Only a real answer replaces the held translator: a null one would leave every later tr without one.
    if (answer && answer.get() != h.translator.get()) {
      retired = std::move(h.translator);
      h.translator = answer;
    }
    h.hostAnswered = true;
  }
  if (!h.translator) h.translator = IPtr<IZelTranslator>(new ZelTrivialTranslator);
  return h.translator;
}

void forgetModuleTranslator() {
  IPtr<IZelTranslator> dropped;
  std::lock_guard lock(held().mutex);
  std::swap(dropped, held().translator);
  held().hostAnswered = false;
}

ZelString tr(const char* key) {
  return moduleTranslator()->translate(key);
}

ZelString tr(const char* key, const ZelString& a1) {
  return moduleTranslator()->translate(key, a1);
}

ZelString tr(const char* key, const ZelString& a1, const ZelString& a2) {
  return moduleTranslator()->translate(key, a1, a2);
}

ZelString tr(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3) {
  return moduleTranslator()->translate(key, a1, a2, a3);
}

ZelString trPointSelectionHelp(int32_t count, const ZelString* args) {
  return moduleTranslator()->translate(
      "%1: Select points | %2: Unselect points | %3: Delete selected points | %4: Undo | %5: Redo | "
      "%6: Select all | %7: Clear all | %8",
      count, args);
}
