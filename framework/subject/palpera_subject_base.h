#pragma once

// The one implementation of IZelSubject, the base of widgets, collectors, receivers and commands that
// notify. Any thread may attach, detach and notify. A notification calls the listeners of a snapshot taken
// under the lock, in ascending pointer order, with the lock released: a listener may attach, detach or notify
// from inside its call without deadlock, and such changes take effect from the next notification (a listener
// detached meanwhile is still called in the current one, so it must stay valid until that returns).

#include <set>

#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/subject/zel_subject.h"
#include "platform/critical_section.h"

class PalperaSubjectBase : public IZelSubject, public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaSubjectBase";

  PalperaSubjectBase() = default;
  PalperaSubjectBase(const PalperaSubjectBase&) = delete;
  PalperaSubjectBase& operator=(const PalperaSubjectBase&) = delete;
  // Forgets the listeners without calling any of them.
  ~PalperaSubjectBase() override;

  void attach(IZelListener* listener) override;
  void detach(IZelListener* listener) override;
  void notify(const char* event, void* data) override;

  // The base's part of a derived class's query chain: its class name and "IZelSubject".
  void querySubjectChain(QueryChain& chain);

 private:
  platform::CriticalSection lock_;
  std::set<IZelListener*> listeners_;  // guarded by lock_
};
