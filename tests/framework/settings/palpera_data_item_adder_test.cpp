#include <gtest/gtest.h>

#include <string>

#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/data_store.h"
#include "host/api/zel_initializer.h"
#include "support/module_fixture.h"

// Every registration (key, kind, default, range, flags and order) is pinned by the checked-in listing that
// tests/host/tool/settings_listing_test.cpp compares; these tests cover what a listing cannot show.
namespace {

// The adder as the host runs it: created by its class id through the root, then initialised.
class DataItemAdder : public ModuleTest {
 protected:
  void runAdder() {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaDataItemAdder"));
    ASSERT_TRUE(adder);
    adder->initialise();
  }

  std::u16string activePlugin() {
    SPtr<IDataStore> store;
    return store->getString("Palpera/ActivePlugin").c_str();
  }
};

TEST_F(DataItemAdder, TheActivePluginDefaultIsTranslatedByTheHostsTranslator) {
  host_.translator().setText("Hard Probe Emulator", u"\u00c9mulateur de palpeur");
  host_.enable(StandinHost::Optional::kTranslatorService, true);
  runAdder();
  EXPECT_EQ(activePlugin(), u"\u00c9mulateur de palpeur");
}

TEST_F(DataItemAdder, RegistersNothingWithoutADataStore) {
  host_.root().setService(IDataStore::interfaceName, nullptr);
  runAdder();
  EXPECT_TRUE(host_.dataStore().listGroup("Palpera").empty());
  EXPECT_TRUE(host_.dataStore().completions().empty());
}

}  // namespace
