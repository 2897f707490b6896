#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/gui/host_xaml_renderer.h"
#include "host/standin_host.h"
#include "support/scratch_directory.h"

namespace {

// The host's renderer on markup files of a test's own, with values in the host's data store.
class XamlRenderer : public ::testing::Test {
 protected:
  void SetUp() override {
    write("Resources.xaml", R"(<Resources Background="#000000FF" Foreground="#FF0000FF" Padding="2"/>)");
    IDataStore& store = host_.core().dataStore();
    ASSERT_TRUE(store.addGroup("Test"));
    ASSERT_TRUE(store.addStringItem("Test/Name", 64, ZelString(u"Plane 1"), 0));
    ASSERT_TRUE(store.addDoubleItem("Test/Spread", 0.00125, -1, 1, 0));
  }

  ZelString write(const char* name, const std::string& text) {
    folder_.write(name, text);
    return path(name);
  }
  ZelString path(const char* name) { return folder_.module(name); }

  StandinHost host_;
  ScratchDirectory folder_;
  IPtr<HostXamlImageRenderer> renderer_{new HostXamlImageRenderer(host_.core().dataStore())};
};

TEST_F(XamlRenderer, DrawsEachRowsLabelAndCurrentValueAndRendersAgainOnlyOnAChange) {
  const ZelString control = write("Tile.xaml", R"(<TileControl Title="Fit">
      <Row Label="Name" Key="Test/Name" Kind="text"/>
      <Row Label="Spread" Key="Test/Spread" Kind="number"/>
    </TileControl>)");
  ASSERT_TRUE(renderer_->load({control}, path("Resources.xaml")));
  EXPECT_EQ(renderer_->lines(), (std::vector<std::u16string>{u"Fit", u"Name: Plane 1", u"Spread: 0.0013"}));

  IPtr<IZelImage> image(new HostImage);
  renderer_->setSize(800, 600);
  EXPECT_TRUE(renderer_->needsUpdate());
  ASSERT_TRUE(renderer_->render(image.get()));
  EXPECT_FALSE(renderer_->needsUpdate());
  // 14 characters of 6 pixels and 3 lines of 10, inside a border of 2.
  EXPECT_EQ(image->width(), 2 * 2 + 14 * 6u);
  EXPECT_EQ(image->height(), 2 * 2 + 3 * 10u);
  const DecodedImage picture = *static_cast<HostImage*>(image.get())->picture();
  EXPECT_EQ(picture.pixel(0, 0), 0x000000FFu);
  EXPECT_EQ(picture.pixel(2 + 1, 2), 0xFF0000FFu) << "the top of the F";

  host_.core().dataStore().setDouble(nullptr, "Test/Spread", 0.5);
  EXPECT_TRUE(renderer_->needsUpdate());
  renderer_->setSize(20, 5);
  ASSERT_TRUE(renderer_->render(image.get()));
  EXPECT_EQ(image->width(), 20u) << "cut to the room given";
  EXPECT_EQ(image->height(), 5u);
}

TEST_F(XamlRenderer, RefusesFilesItCannotReadOrDoesNotKnowAndRendersNothingWithoutThem) {
  const ZelString foreign = write("Foreign.xaml", "<Window><Row Label=\"x\" Key=\"Test/Name\"/></Window>");
  for (const ZelString& control : {foreign, path("Missing.xaml")})
    EXPECT_FALSE(renderer_->load({control}, path("Resources.xaml")));
  EXPECT_FALSE(renderer_->load({}, foreign));
  IPtr<IZelImage> image(new HostImage);
  renderer_->setSize(800, 600);
  EXPECT_FALSE(renderer_->render(image.get()));
  EXPECT_EQ(image->width(), 0u);
}

}  // namespace
