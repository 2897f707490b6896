#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_instructions_tile.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

using Tile = HardProbeInstructionsTile;

// Instructions as a collector fills them, shown through the facade on the tile the host made and built.
class InstructionsTile : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    tile_.createInstance(classIdOf("HardProbeInstructionsTile"));
    facade_.createInstance(classIdOf("HardProbeTileFacade"));
    ASSERT_TRUE(tile_ && facade_);
    window_ = host_.gui().windows().window(Tile::kTileName);
    ASSERT_TRUE(window_);
  }
  void TearDown() override {
    tile_.release();
    facade_.release();
    window_.release();
    ModuleTest::TearDown();
  }

  IPtr<IZelUserInstructions> instructions(const char16_t* brief, const char16_t* full, int pictures) {
    IPtr<IZelMutableUserInstructions> made;
    made.createInstance(classIdOf("UserInstructions"));
    made->setBrief(ZelString(brief));
    made->setFull(ZelString(full));
    for (int i = 0; i < pictures; ++i) {
      IPtr<IZelImage> image;
      image.getService();
      made->addImage(image.get());
    }
    return IPtr<IZelUserInstructions>(queryPart<IZelUserInstructions>(made.get()));
  }

  DialogControl control(int32_t id) { return window_->controls().control(id).value(); }
  std::vector<bool> rowsShown() {
    std::vector<bool> shown;
    for (int32_t row = 0; row < Tile::kStepRows; ++row) {
      EXPECT_EQ(control(Tile::kFirstStepLabel + row).flag, control(Tile::kFirstStepPicture + row).flag);
      shown.push_back(control(Tile::kFirstStepPicture + row).flag);
    }
    return shown;
  }

  IPtr<IZelTile> tile_;
  IPtr<IZelHardProbeTile> facade_;
  IPtr<HostTileWindow> window_;
};

TEST_F(InstructionsTile, BuildsItsControlsByTheirIdsAndNames) {
  EXPECT_EQ(std::u16string(tile_->title().c_str()), u"Hard Probe Instructions");
  ASSERT_TRUE(host_.gui().windows().build(Tile::kTileName));
  EXPECT_EQ(control(0).name, u"InstructionsBox");
  EXPECT_EQ(control(0).text, u"Instructions");
  EXPECT_EQ(control(1).name, u"Text");
  EXPECT_EQ(window_->font(1).size, 16) << "Palpera/UserInstructions/FontSize";
  EXPECT_EQ(control(3).name, u"IDs[1][StepLabel]");
  EXPECT_EQ(control(5).text, u"Step 4:");
  EXPECT_EQ(control(10).value, Tile::kBlankPictureMode);
  EXPECT_EQ(window_->controls().picture(Tile::kBlankPictureMode), "blank");
  EXPECT_EQ(window_->receiver(), dynamic_cast<IGuiReceiver*>(tile_.get()));
}

// A fifth picture is not shown and addresses no missing control; empty instructions show no text control.
TEST_F(InstructionsTile, ShowsNumberedTextAndOneRowPerPictureUpToFour) {
  ASSERT_TRUE(host_.gui().windows().build(Tile::kTileName));
  const struct {
    const char16_t *brief, *full;
    int pictures;
    const char16_t* text;
    std::vector<bool> rows;
  } kCases[] = {{u"B", u"F", 2, u"1. B\n2. F", {true, true, false, false}},
                {u"B", u"", 5, u"B", {true, true, true, true}},
                {u"", u"", 0, u"", {false, false, false, false}}};
  for (const auto& each : kCases) {
    SCOPED_TRACE(each.pictures);
    IPtr<IZelUserInstructions> shown = instructions(each.brief, each.full, each.pictures);
    facade_->setInstructions("FullInstructions", shown.get());
    EXPECT_TRUE(control(Tile::kBox).flag);
    EXPECT_EQ(control(Tile::kText).flag, *each.text != 0) << "no text, no text control";
    EXPECT_EQ(control(Tile::kText).text, each.text);
    EXPECT_EQ(rowsShown(), each.rows);
    EXPECT_EQ(shown->image(each.pictures - 1) == nullptr, each.pictures == 0) << "kept, if not shown";
    EXPECT_EQ(shown->image(each.pictures), nullptr);
    EXPECT_EQ(shown->image(-1), nullptr);
    for (int32_t row = 0; row < Tile::kStepRows; ++row) {
      const DialogControl picture = control(Tile::kFirstStepPicture + row);
      if (row < each.pictures) {
        EXPECT_EQ(picture.image.get(), shown->image(row)) << row;
      } else {
        EXPECT_EQ(picture.value, Tile::kBlankPictureMode) << row;
      }
    }
  }
  EXPECT_EQ(window_->controls().strayCalls(), 0);
}

TEST_F(InstructionsTile, ClearEmptiesABuiltTileAndIsIgnoredBeforeTheBuild) {
  facade_->clear();
  facade_->setInstructions("FullInstructions", instructions(u"B", u"F", 1).get());
  EXPECT_TRUE(window_->controls().all().empty());
  EXPECT_EQ(window_->controls().strayCalls(), 0);

  ASSERT_TRUE(host_.gui().windows().build(Tile::kTileName));
  facade_->setInstructions("FullInstructions", instructions(u"B", u"F", 1).get());
  facade_->clear();
  EXPECT_FALSE(control(Tile::kBox).flag);
  EXPECT_FALSE(control(Tile::kText).flag);
  EXPECT_EQ(control(Tile::kText).text, u"");
  EXPECT_EQ(rowsShown(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(control(Tile::kFirstStepPicture).image.get(), nullptr);
  EXPECT_EQ(control(Tile::kFirstStepPicture).value, Tile::kBlankPictureMode);
}

TEST_F(InstructionsTile, AGoneTileDropsItsWindowAndHearsNoMore) {
  IPtr<IZelTile> second;
  second.createInstance(classIdOf("HardProbeInstructionsTile"));
  EXPECT_EQ(second->window(), nullptr) << "the name has its window";
  second.release();
  EXPECT_EQ(host_.gui().windows().window(Tile::kTileName).get(), window_.get()) << "the first tile's stays";
  tile_.release();
  EXPECT_FALSE(host_.gui().windows().window(Tile::kTileName));
  facade_->setInstructions("FullInstructions", instructions(u"B", u"F", 1).get());
  facade_->clear();
  EXPECT_FALSE(host_.gui().windows().build(Tile::kTileName));
}

}  // namespace
