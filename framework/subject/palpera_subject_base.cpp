#include "framework/subject/palpera_subject_base.h"

#include <mutex>

PalperaSubjectBase::~PalperaSubjectBase() {
  std::lock_guard lock(lock_);
  listeners_.clear();
}

void PalperaSubjectBase::attach(IZelListener* listener) {
  if (!listener) return;
  std::lock_guard lock(lock_);
  listeners_.insert(listener);
}

void PalperaSubjectBase::detach(IZelListener* listener) {
  std::lock_guard lock(lock_);
  listeners_.erase(listener);
}

void PalperaSubjectBase::notify(const char* event, void* data) {
  std::set<IZelListener*> snapshot;
  {
    std::lock_guard lock(lock_);
    snapshot = listeners_;
  }
  for (IZelListener* listener : snapshot) listener->onNotify(event, this, data);
}

void PalperaSubjectBase::querySubjectChain(QueryChain& chain) {
  chain.classLeaf(interfaceName, this, static_cast<IZelUnknown*>(this)).offer<IZelSubject>(this).end();
}
