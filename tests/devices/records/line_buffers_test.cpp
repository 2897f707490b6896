#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "devices/records/plugin_device_data_records.h"

namespace {

IPtr<PluginDeviceScanLineData> lineFrom(const std::shared_ptr<LineBuffers>& buffers,
                                        const std::vector<double>& xyz) {
  IPtr<PluginDeviceScanLineData> line(new PluginDeviceScanLineData);
  line->drawFrom(buffers);
  line->setPoints(xyz.data(), static_cast<int32_t>(xyz.size() / 3), 0, Matrix4x4::translation({1, 0, 0}));
  return line;
}

TEST(LineBuffers, ALineReusesTheBufferOfTheOneBeforeAndShowsOnlyItsOwnPoints) {
  auto buffers = std::make_shared<LineBuffers>();
  const double* first = lineFrom(buffers, {1, 1, 1, 2, 2, 2, 3, 3, 3})->points();

  IPtr<PluginDeviceScanLineData> shorter = lineFrom(buffers, {5, 6, 7});
  EXPECT_EQ(shorter->points(), first) << "the buffer came back when the first line went";
  ASSERT_EQ(shorter->pointCount(), 1);
  EXPECT_EQ(std::vector<double>(shorter->points(), shorter->points() + 3), (std::vector<double>{6, 6, 7}));
  shorter->setPoints(nullptr, 0, 0, Matrix4x4::identity());
  EXPECT_EQ(shorter->points(), nullptr);
}

TEST(LineBuffers, IdleBuffersBeyondTheLimitAreFreed) {
  LineBuffers buffers;
  const size_t doubles = LineBuffers::kIdleBytes / sizeof(double) * 3 / 4;
  buffers.give(LineBuffers::Buffer(doubles));
  buffers.give(LineBuffers::Buffer(doubles));
  EXPECT_EQ(buffers.take().size(), doubles);
  EXPECT_TRUE(buffers.take().empty()) << "the second buffer would have passed the limit";
}

}  // namespace
