#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/component/zel_base_component.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/object/query_chain.h"
#include "host/api/shutdown.h"
#include "host/api/zel_initializer.h"
#include "host/module_startup.h"
#include "support/module_fixture.h"

namespace {

std::vector<std::string>& startupLog() {
  static std::vector<std::string> log;
  return log;
}

class LoggedInitializer : public IZelInitializer, public ZelUnknownImpl {
 public:
  void initialise() override { startupLog().push_back("initialise"); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("LoggedInitializer", this, this).offer<IZelInitializer>(this).end();
  }
  const char* className() override { return "LoggedInitializer"; }
};

class LoggedTask : public IZelStartupTask, public ZelUnknownImpl {
 public:
  void run() override { startupLog().push_back("run"); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("LoggedTask", this, this).offer<IZelStartupTask>(this).end();
  }
  const char* className() override { return "LoggedTask"; }
};

// Both at once: the same object must be initialised first and run later.
class LoggedInitializerAndTask : public IZelInitializer, public IZelStartupTask, public ZelUnknownImpl {
 public:
  void initialise() override { initialised_ = true; }
  void run() override {
    startupLog().push_back(initialised_ ? "run after own initialise" : "run uninitialised");
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("LoggedInitializerAndTask", this, static_cast<IZelInitializer*>(this))
        .offer<IZelInitializer>(this)
        .offer<IZelStartupTask>(this)
        .end();
  }
  const char* className() override { return "LoggedInitializerAndTask"; }

 private:
  bool initialised_ = false;
};

class LoggedListener : public IShutdownListener, public ZelUnknownImpl {
 public:
  void onShutdown() override { startupLog().push_back("shutdown"); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("LoggedListener", this, this).offer<IShutdownListener>(this).end();
  }
  const char* className() override { return "LoggedListener"; }
};

// A singleton's factory that lets go of its object with the component.
class SharedListenerFactory : public ZelItemFactory {
 public:
  using ZelItemFactory::ZelItemFactory;
  IZelUnknown* create(uint32_t* status) override {
    *status = 2;
    return shared_.get();
  }

 private:
  IPtr<LoggedListener> shared_{new LoggedListener};
};

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
    registry_.registerItemFactory(&sharedListener_);
    registry_.registerItemFactory(&ownListener_);
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
  ZelTClassItemFactory<LoggedTask> task_{"LoggedTask", classId(1)};
  ZelTClassItemFactory<LoggedInitializer> initializer_{"LoggedInitializer", classId(2)};
  ZelTClassItemFactory<LoggedInitializerAndTask> both_{"LoggedInitializerAndTask", classId(3)};
  SharedListenerFactory sharedListener_{"SharedListener", classId(4)};
  ZelTClassItemFactory<LoggedListener> ownListener_{"OwnListener", classId(5)};
  ZelDefaultClassFactory registry_;
};

using ModuleStartup = ModuleTest;

TEST_F(ModuleStartup, EveryInitialiserRunsBeforeAnyStartupTask) {
  startupLog().clear();
  IPtr<LoggedComponent> component(new LoggedComponent);
  host_.attach(component.get());
  StartupReport report = runModuleStartup(host_.root(), component.get());
  EXPECT_EQ(startupLog(), (std::vector<std::string>{"initialise", "run", "run after own initialise"}));
  EXPECT_EQ(report.initialised, (std::vector<std::string>{"LoggedInitializer", "LoggedInitializerAndTask"}));
  EXPECT_EQ(report.tasksRun, (std::vector<std::string>{"LoggedTask", "LoggedInitializerAndTask"}));
}

TEST_F(ModuleStartup, OnlyTheModulesSharedObjectsThatListenAreToldOfTheShutdown) {
  IPtr<LoggedComponent> component(new LoggedComponent);
  host_.attach(component.get());
  StartupReport report = runModuleStartup(host_.root(), component.get());
  EXPECT_EQ(report.shutdownListeners, std::vector<std::string>{"LoggedListener"});
  startupLog().clear();
  EXPECT_EQ(host_.shutdown(), 1u);
  EXPECT_EQ(startupLog(), std::vector<std::string>{"shutdown"});
}

TEST_F(ModuleStartup, TheModulesInitialisersRegisterItsSettings) {
  StartupReport report = runModuleStartup(host_.root(), component_.get());
  EXPECT_NE(std::find(report.initialised.begin(), report.initialised.end(), "PalperaDataItemAdder"),
            report.initialised.end());
  EXPECT_FALSE(host_.dataStore().listGroup("Palpera").empty());
}

}  // namespace
