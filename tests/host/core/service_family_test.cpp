#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host/core/zel_id_text.h"
#include "support/module_fixture.h"

namespace {

using ServiceFamilies = ModuleTest;

// A new object of the class, made by its id as the module makes one; empty when the root has no such class.
IPtr<IZelUnknown> createById(HostRoot& root, const ZelID& classId) {
  const ZelCString unknown(IZelUnknown::interfaceName);
  void* raw = nullptr;
  root.createInstance(&classId, &unknown, &raw);
  return IPtr<IZelUnknown>(static_cast<IZelUnknown*>(raw));
}

// A name in two tables would leave one family's object unreachable; an object that does not answer its name
// would make every lookup of it fail; a host object counted through the module's base would live and die by
// whatever root the module was handed. A host class is one entry: made by its id or by any of its names.
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
    for (const auto& [id, classNames, factory] : family->hostClasses()) {
      SCOPED_TRACE(canonicalText(id));
      IPtr<IZelUnknown> first(factory()), byId = createById(host_.root(), id);
      ASSERT_TRUE(first && byId);
      EXPECT_NE(first.get(), byId.get());
      EXPECT_STREQ(first->className(), byId->className());
      EXPECT_FALSE(dynamic_cast<ZelUnknownImpl*>(first.get())) << "counts through the module";
      for (const std::string& name : classNames) {
        EXPECT_TRUE(names.insert(name).second) << name << " is offered twice";
        void* part = nullptr;
        byId->queryInterface(name.c_str(), &part, false);
        EXPECT_TRUE(part) << name;
      }
    }
    // The registry's text form must read back as the very id: a digit lost would name no class, or another.
    for (const auto& [path, classId] : family->registryEntries())
      EXPECT_EQ(canonicalText(host_.root().registry().classId(path)), canonicalText(classId)) << path;
  }
}

TEST_F(ServiceFamilies, WithdrawingTakesOffEverythingInstalled) {
  IPtr<HostRoot> root(new HostRoot);
  installFamilies(*root, host_.families());
  withdrawFamilies(*root, host_.families());
  for (const ServiceFamily* family : host_.families()) {
    for (const auto& shared : family->sharedServices())
      EXPECT_FALSE(root->serviceObject(shared.name)) << shared.name;
    for (const auto& hostClass : family->hostClasses()) {
      EXPECT_FALSE(createById(*root, hostClass.id)) << canonicalText(hostClass.id);
      for (const std::string& name : hostClass.interfaceNames) {
        const ZelCString lookup(name.c_str());
        void* part = nullptr;
        EXPECT_EQ(root->getService(&lookup, &part), 0) << name;
      }
    }
    for (const auto& entry : family->registryEntries())
      EXPECT_FALSE(GUIDUtils::isValid(root->registry().classId(entry.path))) << entry.path;
  }
}

}  // namespace
