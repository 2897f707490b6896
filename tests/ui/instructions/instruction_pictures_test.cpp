#include "ui/instructions/instruction_pictures.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host/gui/host_image.h"
#include "host/gui/png_image.h"
#include "host_api/zel_image.h"
#include "support/module_fixture.h"

namespace {

// Every set a collector or the feature picker shows, with the number of pictures it must have.
struct SetCase {
  InstructionPictureSet set;
  const char* name;
  int32_t count;
};
constexpr SetCase kSets[] = {
    {InstructionPictureSet::kLine, "line", 3},
    {InstructionPictureSet::kPoint, "point", 2},
    {InstructionPictureSet::kPlane, "plane", 3},
    {InstructionPictureSet::kSurfacePoint, "surface point", 3},
    {InstructionPictureSet::kSphere, "sphere", 3},
    {InstructionPictureSet::kCone, "cone", 3},
    {InstructionPictureSet::kCircle, "circle", 3},
    {InstructionPictureSet::kCylinder, "cylinder", 3},
    {InstructionPictureSet::kRectangularSlotLine, "rectangular slot line", 3},
    {InstructionPictureSet::kRoundedSlotCorner, "rounded slot corner", 3},
    {InstructionPictureSet::kFeaturePicker, "feature picker", 2},
};

// The pixels a host image holds, as the stand-in host decoded them; empty when it holds none.
std::vector<uint8_t> pixelsOf(IZelImage* image) {
  HostImage* hostImage = queryPart<HostImage>(image);
  std::optional<DecodedImage> picture = hostImage ? hostImage->picture() : std::nullopt;
  return picture ? picture->rgba : std::vector<uint8_t>();
}

// The pixels of picture number of the set, decoded straight from the module's bytes.
std::vector<uint8_t> pixelsOf(InstructionPictureSet set, int32_t number) {
  InstructionPicture picture = instructionPicture(set, number);
  std::string error;
  std::optional<DecodedImage> decoded = decodePng(picture.png, picture.size, error);
  return decoded ? decoded->rgba : std::vector<uint8_t>();
}

class InstructionPictures : public ModuleTest {
 protected:
  // New, empty instructions, made as a collector makes them; instructions_ reads them back.
  IPtr<IZelMutableUserInstructions> freshInstructions() {
    IPtr<IZelMutableUserInstructions> made;
    made.createInstance(classIdOf("UserInstructions"));
    instructions_ = queryPart<IZelUserInstructions>(made.get());
    return made;
  }

  IPtr<IZelUserInstructions> instructions_;
};

TEST_F(InstructionPictures, EverySetHasItsPicturesEachDifferentAnd225By150) {
  for (const SetCase& each : kSets) {
    SCOPED_TRACE(each.name);
    EXPECT_EQ(instructionPictureCount(each.set), each.count);
    EXPECT_EQ(instructionPicture(each.set, 0).png, nullptr);
    EXPECT_EQ(instructionPicture(each.set, each.count + 1).png, nullptr);
    IPtr<IZelMutableUserInstructions> made = freshInstructions();
    for (int32_t number = 1; number <= each.count; ++number) {
      InstructionPicture picture = instructionPicture(each.set, number);
      IPtr<IZelImage> decoded = decodedInstructionPicture(picture.png, picture.size);
      EXPECT_TRUE(decoded) << number;
      if (decoded) made->addImage(decoded.get());
    }
    ASSERT_EQ(instructions_->imageCount(), each.count);
    std::vector<std::vector<uint8_t>> seen;
    for (int32_t i = 0; i < each.count; ++i) {
      IZelImage* image = instructions_->image(i);
      EXPECT_EQ(image->width(), kInstructionPictureWidth) << "picture " << i + 1;
      EXPECT_EQ(image->height(), kInstructionPictureHeight) << "picture " << i + 1;
      for (const std::vector<uint8_t>& earlier : seen)
        EXPECT_NE(pixelsOf(image), earlier) << "picture " << i + 1;
      seen.push_back(pixelsOf(image));
    }
  }
  EXPECT_TRUE(host_.gui().imageWriter().refusals().empty());
}

TEST_F(InstructionPictures, CollectorsShowTwoPicturesInOrderAndTheThirdOnlyWhenAsked) {
  struct Case {
    InstructionPictureSet set;
    bool withThirdPicture;
    int32_t shown;
  };
  const Case cases[] = {
      {InstructionPictureSet::kLine, false, 2},
      {InstructionPictureSet::kLine, true, 3},
      {InstructionPictureSet::kRoundedSlotCorner, true, 3},
      {InstructionPictureSet::kPoint, true, 2},
      {InstructionPictureSet::kFeaturePicker, true, 2},
  };
  InstructionPictureCache pictures;  // one for every set, as the picker's serves it
  for (const Case& each : cases) {
    SCOPED_TRACE(testing::Message() << "set " << static_cast<int>(each.set) << ", third "
                                    << each.withThirdPicture);
    IPtr<IZelUserInstructions> shown = pictures.instructions(each.set, each.withThirdPicture);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->imageCount(), each.shown);
    for (int32_t i = 0; i < each.shown; ++i) {
      EXPECT_EQ(pixelsOf(shown->image(i)), pixelsOf(each.set, i + 1)) << "picture " << i + 1;
    }
    ZelString text;
    EXPECT_TRUE(shown->text(text, true).isEmpty());
  }
}

TEST_F(InstructionPictures, BytesTheHostCannotShowDecodeToNothing) {
  InstructionPicture line = instructionPicture(InstructionPictureSet::kLine, 1);
  const unsigned char notAPicture[] = "not a picture";
  EXPECT_FALSE(decodedInstructionPicture(notAPicture, sizeof notAPicture));
  EXPECT_FALSE(decodedInstructionPicture(line.png, line.size / 2)) << "cut short";
  EXPECT_EQ(host_.gui().imageWriter().refusals().size(), 2u);

  host_.root().setService(IZelImageWriter::interfaceName, nullptr);
  EXPECT_FALSE(decodedInstructionPicture(line.png, line.size)) << "without a decoder";
}

// Every call hands out instructions of their own, holding the pictures decoded the first time; a picture the
// host could not decode then is decoded when it can.
TEST_F(InstructionPictures, ACacheDecodesEachPictureOnceAndRetriesWhatItCouldNotDecode) {
  HostImageWriter& decoder = host_.gui().imageWriter();
  InstructionPictureCache pictures;
  host_.root().setService(IZelImageWriter::interfaceName, nullptr);
  IPtr<IZelUserInstructions> undecoded = pictures.instructions(InstructionPictureSet::kCircle, true);
  ASSERT_TRUE(undecoded);
  EXPECT_EQ(undecoded->imageCount(), 0);

  host_.root().setService(IZelImageWriter::interfaceName, &decoder);
  IPtr<IZelUserInstructions> first = pictures.instructions(InstructionPictureSet::kCircle, false);
  IPtr<IZelUserInstructions> second = pictures.instructions(InstructionPictureSet::kCircle, true);
  ASSERT_EQ(first->imageCount(), 2);
  ASSERT_EQ(second->imageCount(), 3);
  EXPECT_NE(first.get(), second.get());
  for (int32_t i = 0; i < 3; ++i)
    EXPECT_EQ(pixelsOf(second->image(i)), pixelsOf(InstructionPictureSet::kCircle, i + 1)) << i;
  for (int32_t i = 0; i < 2; ++i) EXPECT_EQ(first->image(i), second->image(i)) << "decoded once: " << i;
  EXPECT_NE(pictures.instructions(InstructionPictureSet::kLine, true)->image(0), second->image(0));
}

TEST_F(NoHostTest, WithoutAHostThereAreNoInstructions) {
  EXPECT_FALSE(InstructionPictureCache().instructions(InstructionPictureSet::kLine, true));
}

}  // namespace
