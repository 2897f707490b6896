#include <gtest/gtest.h>

#include <string>

#include "host_api/script_factory.h"
#include "support/module_fixture.h"

namespace {

class ScriptFactoryTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    factory_.getService();
  }
  void TearDown() override {
    factory_.release();
    ModuleTest::TearDown();
  }
  IPtr<IScriptCommand> create(const char* name) {
    IPtr<IScriptCommand> made;
    made.takeOwnership(factory_->create(name, 1));
    return made;
  }

  IPtr<IScriptFactory> factory_;
};

TEST_F(ScriptFactoryTest, ArgumentsReadTheirDefaultUntilSetAndOnlyAsTheirDeclaredType) {
  ASSERT_TRUE(factory_);
  EXPECT_EQ(factory_->create("", 1), nullptr);
  IPtr<IScriptCommand> command = create("measure");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->refCount(), 1u) << "the caller's reference only";
  EXPECT_STREQ(command->commandName().c_str(), "measure");
  ASSERT_TRUE(command->declareString("Name", ZelCString("plate"), 1));
  ASSERT_TRUE(command->declareDouble("Size", -1.0, 1));
  ASSERT_TRUE(command->declareInt("Count", 3, 0));
  EXPECT_FALSE(command->declareDouble("Name", 0.0, 1)) << "declared already";

  ZelCString name;
  double size = 0;
  int32_t count = 0;
  ASSERT_TRUE(command->getString("Name", name) && command->getDouble("Size", size) &&
              command->getInt("Count", count));
  EXPECT_STREQ(name.c_str(), "plate");
  EXPECT_EQ(size, -1.0);
  EXPECT_EQ(count, 3);

  EXPECT_FALSE(command->setDouble("Name", 2.0));
  EXPECT_FALSE(command->setString("Size", ZelCString("2")));
  EXPECT_FALSE(command->setInt("Missing", 2));
  EXPECT_FALSE(command->getInt("Size", count));
  EXPECT_EQ(count, 3) << "a refused read leaves the output alone";
  ASSERT_TRUE(command->setString("Name", ZelCString("bore")));
  ASSERT_TRUE(command->setDouble("Size", 0.25));
  ASSERT_TRUE(command->getString("Name", name) && command->getDouble("Size", size));
  EXPECT_STREQ(name.c_str(), "bore");
  EXPECT_EQ(size, 0.25);
}

}  // namespace
