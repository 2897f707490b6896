#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/gui/host_image.h"
#include "host/gui/host_image_store.h"
#include "host/gui/png_image.h"

namespace {

// A PNG file of the given format written by libpng from samples of that format.
std::vector<uint8_t> pngOf(uint32_t width, uint32_t height, uint32_t format,
                           const std::vector<uint8_t>& samples) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr));
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, samples.data(), 0, nullptr));
  bytes.resize(size);
  return bytes;
}

// Two by two: red, green / blue, half-transparent white.
std::vector<uint8_t> smallRgba() {
  return pngOf(2, 2, PNG_FORMAT_RGBA, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128});
}
std::vector<uint8_t> greyRow() {
  return pngOf(3, 1, PNG_FORMAT_GRAY, {0, 100, 255});
}

// Every pixel in row order, as 0xRRGGBBAA.
std::vector<uint32_t> pixels(const DecodedImage& image) {
  std::vector<uint32_t> all;
  for (uint32_t y = 0; y < image.height; ++y)
    for (uint32_t x = 0; x < image.width; ++x) all.push_back(image.pixel(x, y));
  return all;
}

TEST(PngImage, DecodesEveryPixelInRowOrderAsRgbaAndGreyAsOpaqueUpToTheLargestSideAHostKeeps) {
  std::vector<uint8_t> png = smallRgba(), grey = greyRow();
  std::string error;
  std::optional<DecodedImage> image = decodePng(png.data(), png.size(), error);
  ASSERT_TRUE(image) << error;
  EXPECT_TRUE(image->width == 2 && image->height == 2);
  EXPECT_EQ(pixels(*image), (std::vector<uint32_t>{0xff0000ff, 0x00ff00ff, 0x0000ffff, 0xffffff80}));
  image = decodePng(grey.data(), grey.size(), error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(pixels(*image), (std::vector<uint32_t>{0x000000ff, 0x646464ff, 0xffffffff}));

  std::vector<uint8_t> wide =
      pngOf(kLargestImageSide + 1, 1, PNG_FORMAT_GRAY, std::vector<uint8_t>(kLargestImageSide + 1, 7));
  EXPECT_FALSE(decodePng(wide.data(), wide.size(), error));
  EXPECT_NE(error.find("4097 x 1"), std::string::npos) << error;
  std::vector<uint8_t> widest =
      pngOf(kLargestImageSide, 1, PNG_FORMAT_GRAY, std::vector<uint8_t>(kLargestImageSide, 7));
  EXPECT_TRUE(decodePng(widest.data(), widest.size(), error)) << error;
}

TEST(HostImageWriter, DecodesOnlyAWholePngIntoTheImageAndNotesEachRefusal) {
  IPtr<HostImage> image(new HostImage);
  IPtr<HostImageWriter> writer(new HostImageWriter);
  std::vector<uint8_t> png = smallRgba();
  const auto size = static_cast<uint32_t>(png.size());
  EXPECT_FALSE(writer->decode(image.get(), png.data(), size, "JPG", 0, 0));
  EXPECT_FALSE(writer->decode(image.get(), png.data(), size / 2, "PNG", 0, 0));
  EXPECT_EQ(image->width(), 0u) << "a failed decoding leaves the image empty";
  ASSERT_TRUE(writer->decode(image.get(), png.data(), size, "png", 0, 0));
  EXPECT_TRUE(image->width() == 2 && image->height() == 2);
  EXPECT_EQ(writer->refusals().size(), 2u);
}

TEST(HostImageStore, KeepsWholePicturesByNameInTheOrderAddedAndNotesEachRefusal) {
  IPtr<HostImageStore> store(new HostImageStore);
  std::vector<uint8_t> rgba = smallRgba(), grey = greyRow();
  const auto size = [](const std::vector<uint8_t>& bytes) { return static_cast<uint32_t>(bytes.size()); };
  EXPECT_FALSE(store->add("b", rgba.data(), 40));
  EXPECT_TRUE(store->add("b", rgba.data(), size(rgba))) << "a refused name stays free";
  EXPECT_TRUE(store->add("a", grey.data(), size(grey)));
  EXPECT_FALSE(store->add("b", grey.data(), size(grey)));
  EXPECT_FALSE(store->add("", rgba.data(), size(rgba)));
  EXPECT_FALSE(store->add(nullptr, rgba.data(), size(rgba)));
  EXPECT_FALSE(store->add("none", nullptr, 0));
  EXPECT_EQ(store->names(), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(store->image("b")->width, 2u) << "the first picture of a name stays";
  EXPECT_FALSE(store->image("c"));
  std::vector<std::string> refusals = store->refusals();
  ASSERT_EQ(refusals.size(), 5u);
  EXPECT_EQ(refusals[0].rfind("b: ", 0), 0u) << refusals[0];
  EXPECT_GT(refusals[0].size(), 3u) << "a refusal says why";
  EXPECT_EQ(std::vector<std::string>(refusals.begin() + 1, refusals.end()),
            (std::vector<std::string>{"b: the name is already taken", ": an image needs a name",
                                      ": an image needs a name", "none: no bytes"}));
}

}  // namespace
