#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component/zel_base_component.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/object/query_chain.h"
#include "host/core/module_startup.h"
#include "host_api/zel_initializer.h"
#include "support/module_fixture.h"

namespace {

std::vector<std::string>& startupLog() {
  static std::vector<std::string> log;
  return log;
}

// A class of the test module offering the given faces, which notes each call on them in the start-up log. As
// an initialiser and a task both, it must have been initialised when it runs.
template <const char* kName, class... Faces>
class Logged : public IZelInitializer, public IZelStartupTask, public ZelUnknownImpl {
 public:
  void initialise() override {
    initialised_ = true;
    startupLog().push_back("initialise");
  }
  void run() override { startupLog().push_back(initialised_ ? "run initialised" : "run"); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(kName, this, static_cast<IZelInitializer*>(this));
    (chain.offer<Faces>(this), ...);
    chain.end();
  }
  const char* className() override { return kName; }

 private:
  bool initialised_ = false;
};
constexpr char kInitializer[] = "LoggedInitializer", kTask[] = "LoggedTask",
               kBoth[] = "LoggedInitializerAndTask";

ZelID classId(uint32_t n) {
  return ZelID{n, 0x57a7, 0x7, {1, 1, 2, 3, 5, 8, 13, 21}};
}

// A module of the test's own classes; its registry walks them in the order of their ids.
class LoggedComponent : public ZelBaseComponent {
 public:
  LoggedComponent() {
    registry_.registerItemFactory(&task_);
    registry_.registerItemFactory(&initializer_);
    registry_.registerItemFactory(&both_);
  }
  uint32_t createInstance(const ZelID* id, IZelUnknown** out) override {
    return registry_.createInstance(id, out);
  }
  uint32_t classCount() override { return registry_.count(); }
  bool firstClassId(ZelID* out) override { return registry_.firstId(out); }
  bool nextClassId(ZelID* out) override { return registry_.nextId(out); }
  const char* className(const ZelID* id) override { return registry_.className(id); }
  using ZelBaseComponent::className;

 private:
  // The task walks first, so a start-up that merely followed the walk would run it before any initialiser.
  ZelTClassItemFactory<Logged<kTask, IZelStartupTask>> task_{kTask, classId(1)};
  ZelTClassItemFactory<Logged<kInitializer, IZelInitializer>> initializer_{kInitializer, classId(2)};
  ZelTClassItemFactory<Logged<kBoth, IZelInitializer, IZelStartupTask>> both_{kBoth, classId(3)};
  ZelDefaultClassFactory registry_;
};

using ModuleStartup = ModuleTest;

TEST_F(ModuleStartup, EveryInitialiserRunsBeforeAnyStartupTask) {
  startupLog().clear();
  IPtr<LoggedComponent> component(new LoggedComponent);
  host_.attach(component.get());
  StartupReport report = runModuleStartup(host_.root(), component.get());
  EXPECT_EQ(startupLog(), (std::vector<std::string>{"initialise", "initialise", "run", "run initialised"}));
  EXPECT_EQ(report.initialised, (std::vector<std::string>{"LoggedInitializer", "LoggedInitializerAndTask"}));
  EXPECT_EQ(report.tasksRun, (std::vector<std::string>{"LoggedTask", "LoggedInitializerAndTask"}));
}

}  // namespace
