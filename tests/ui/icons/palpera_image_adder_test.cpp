#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "gen/palpera/palpera_icons.h"
#include "host/api/image_store.h"
#include "host/api/zel_initializer.h"
#include "support/module_fixture.h"

namespace {

struct ExpectedIcon {
  const char* name;
  uint32_t side;  // every icon is square
};

// The icons and their sizes in pixels, in the order the host must receive them.
constexpr ExpectedIcon kExpectedIcons[] = {
    {"blank", 40},
    {"hardprobe", 96},
    {"hardprobe_small", 24},
    {"hp_start", 32},
    {"hp_stop", 32},
    {"select_with_probe", 96},
    {"select_with_probe_small", 24},
    {"alignment", 55},
    {"define_reference_targets", 40},
    {"delete_targets", 40},
    {"delete", 14},
    {"down", 14},
    {"load_matrix", 40},
    {"lrg_featurecircle", 40},
    {"lrg_sphere", 40},
    {"move_device", 40},
    {"pointmethod", 40},
    {"previous_targets", 40},
    {"probe_calibrate", 40},
    {"probe_options", 40},
    {"reset_matrix", 40},
    {"retry_target", 40},
    {"show_coords", 40},
    {"up", 14},
    {"use_last_alignment", 40},
    {"xminus", 40},
    {"xplus", 40},
    {"yminus", 40},
    {"yplus", 40},
    {"zminus", 40},
    {"zplus", 40},
    {"probe_mode_single", 40},
    {"probe_mode_time", 40},
    {"probe_mode_distance", 40},
};

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
  std::vector<std::string> names = host_.images().names();
  ASSERT_EQ(names.size(), std::size(kExpectedIcons));
  for (size_t i = 0; i < names.size(); ++i) {
    const ExpectedIcon& expected = kExpectedIcons[i];
    EXPECT_EQ(names[i], expected.name) << "position " << i;
    std::optional<DecodedImage> image = host_.images().image(expected.name);
    ASSERT_TRUE(image) << expected.name;
    EXPECT_EQ(image->width, expected.side) << expected.name;
    EXPECT_EQ(image->height, expected.side) << expected.name;
  }
  EXPECT_TRUE(host_.images().refusals().empty());
}

TEST_F(ImageAdder, EachIconIsHandedOverWholeFromTheModulesOwnData) {
  IPtr<NotingImageStore> store(new NotingImageStore);
  host_.root().setService(IImageStore::interfaceName, store.get());
  runAdder();
  ASSERT_EQ(store->additions.size(), std::size(kPalperaIcons));
  for (size_t i = 0; i < store->additions.size(); ++i) {
    const NotingImageStore::Addition& addition = store->additions[i];
    EXPECT_EQ(addition.name, kExpectedIcons[i].name);
    EXPECT_EQ(addition.bytes, kPalperaIcons[i].png) << addition.name << " was copied";
    EXPECT_EQ(addition.byteCount, kPalperaIcons[i].size) << addition.name;
  }
}

TEST_F(ImageAdder, WithoutAnImageStoreNothingIsRegisteredAndNothingFails) {
  host_.root().setService(IImageStore::interfaceName, nullptr);
  runAdder();
  EXPECT_TRUE(host_.images().names().empty());
  EXPECT_TRUE(host_.errors().reports().empty());
  EXPECT_TRUE(host_.assertions().reports().empty());
}

}  // namespace
