#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "support/module_fixture.h"

namespace {

using ServiceFamilies = ModuleTest;

// A name in two tables would leave one family's object unreachable; an object that does not answer its name
// would make every lookup of it fail; a host object counted through the module's base would live and die by
// whatever root the module was handed.
TEST_F(ServiceFamilies, EveryNameIsInOneTableAndItsObjectAnswersIt) {
  std::set<std::string> names;
  for (const ServiceFamily* family : host_.families()) {
    for (const auto& [name, object] : family->sharedServices()) {
      EXPECT_TRUE(names.insert(name).second) << name << " is offered twice";
      EXPECT_EQ(host_.root().serviceObject(name), object) << name;
      EXPECT_FALSE(dynamic_cast<ZelUnknownImpl*>(object)) << name << " counts through the module";
      const ZelCString lookup(name);
      void* part = nullptr;
      EXPECT_EQ(host_.root().getService(&lookup, &part), 1) << name;
    }
    for (const auto& [name, factory] : family->freshObjects()) {
      EXPECT_TRUE(names.insert(name).second) << name << " is offered twice";
      IPtr<IZelUnknown> first(factory()), second(factory());
      ASSERT_TRUE(first && second) << name;
      EXPECT_NE(first.get(), second.get()) << name;
      EXPECT_FALSE(dynamic_cast<ZelUnknownImpl*>(first.get())) << name << " counts through the module";
      void* part = nullptr;
      first->queryInterface(name, &part, false);
      EXPECT_TRUE(part) << name;
    }
  }
}

TEST_F(ServiceFamilies, WithdrawingTakesOffEverythingInstalled) {
  IPtr<HostRoot> root(new HostRoot);
  installFamilies(*root, host_.families());
  withdrawFamilies(*root, host_.families());
  for (const ServiceFamily* family : host_.families()) {
    for (const auto& shared : family->sharedServices())
      EXPECT_FALSE(root->serviceObject(shared.name)) << shared.name;
    for (const auto& fresh : family->freshObjects()) {
      const ZelCString name(fresh.name);
      void* part = nullptr;
      EXPECT_EQ(root->getService(&name, &part), 0) << fresh.name;
    }
  }
}

}  // namespace
