#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "gen/palpera/palpera_icons.h"
#include "host_api/image_store.h"
#include "host_api/zel_initializer.h"
#include "support/module_fixture.h"

namespace {

// The icons and their sizes in pixels, in the order the host must receive them.
constexpr const char* kExpectedIcons =
    "blank 40x40\nhardprobe 96x96\nhardprobe_small 24x24\nhp_start 32x32\nhp_stop 32x32\n"
    "select_with_probe 96x96\nselect_with_probe_small 24x24\nalignment 55x55\n"
    "define_reference_targets 40x40\ndelete_targets 40x40\ndelete 14x14\ndown 14x14\nload_matrix 40x40\n"
    "lrg_featurecircle 40x40\nlrg_sphere 40x40\nmove_device 40x40\npointmethod 40x40\n"
    "previous_targets 40x40\nprobe_calibrate 40x40\nprobe_options 40x40\nreset_matrix 40x40\n"
    "retry_target 40x40\nshow_coords 40x40\nup 14x14\nuse_last_alignment 40x40\nxminus 40x40\nxplus 40x40\n"
    "yminus 40x40\nyplus 40x40\nzminus 40x40\nzplus 40x40\nprobe_mode_single 40x40\nprobe_mode_time 40x40\n"
    "probe_mode_distance 40x40\n";

// An image store that only notes what it is handed, to see the exact calls.
class NotingImageStore : public IImageStore, public ZelUnknownImpl {
 public:
  struct Addition {
    std::string name;
    const void* bytes;
    uint32_t byteCount;
  };

  bool add(const char* name, const void* bytes, uint32_t byteCount) override {
    additions.push_back({name, bytes, byteCount});
    return true;
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("NotingImageStore", this, this).offer<IImageStore>(this).end();
  }
  const char* className() override { return "NotingImageStore"; }

  std::vector<Addition> additions;
};

// The adder as the host runs it: created by its class id through the root, then initialised.
class ImageAdder : public ModuleTest {
 protected:
  void runAdder() {
    IPtr<IZelInitializer> adder;
    adder.createInstance(classIdOf("PalperaImageAdder"));
    ASSERT_TRUE(adder);
    adder->initialise();
  }
};

TEST_F(ImageAdder, TheHostHoldsEveryIconInOrderAtItsSizeAndRefusesNone) {
  runAdder();
  std::string listing;
  for (const std::string& name : host_.gui().images().names()) {
    std::optional<DecodedImage> image = host_.gui().images().image(name);
    ASSERT_TRUE(image) << name;
    listing += name + " " + std::to_string(image->width) + "x" + std::to_string(image->height) + "\n";
  }
  EXPECT_EQ(listing, kExpectedIcons);
  EXPECT_TRUE(host_.gui().images().refusals().empty());
}

TEST_F(ImageAdder, EachIconIsHandedOverWholeFromTheModulesOwnData) {
  IPtr<NotingImageStore> store(new NotingImageStore);
  host_.root().setService(IImageStore::interfaceName, store.get());
  runAdder();
  ASSERT_EQ(store->additions.size(), std::size(kPalperaIcons));
  for (size_t i = 0; i < store->additions.size(); ++i) {
    const NotingImageStore::Addition& addition = store->additions[i];
    EXPECT_EQ(addition.bytes, kPalperaIcons[i].png) << addition.name << " was copied";
    EXPECT_EQ(addition.byteCount, kPalperaIcons[i].size) << addition.name;
  }
}

TEST_F(ImageAdder, WithoutAnImageStoreNothingIsRegisteredAndNothingFails) {
  host_.root().setService(IImageStore::interfaceName, nullptr);
  runAdder();
  EXPECT_TRUE(host_.gui().images().names().empty());
  EXPECT_TRUE(host_.core().errors().reports().empty());
  EXPECT_TRUE(host_.core().assertions().reports().empty());
}

}  // namespace
