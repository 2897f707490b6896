#include <gtest/gtest.h>

#include <string>

#include "platform/ascii_text.h"

namespace {

// Lengths on both sides of the conversions' blocks, with one unit beyond ASCII nowhere or at a block's start,
// inside one, at the last unit of a block and in the tail after the blocks.
TEST(AsciiText, EveryUnitIsConvertedAndOneBeyondAsciiIsSeenWhereverItStands) {
  for (size_t length : {0u, 1u, 7u, 8u, 9u, 31u, 32u, 33u, 41u, 64u, 95u, 100u}) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) bytes += static_cast<char>(' ' + i % 95);
    std::u16string units(bytes.begin(), bytes.end());
    for (size_t beyond : {length, size_t{0}, size_t{5}, size_t{31}, size_t{32}, length - 1}) {
      if (beyond > length) continue;
      SCOPED_TRACE(testing::Message() << length << " units, beyond ASCII at " << beyond);
      std::string b = bytes;
      std::u16string u = units;
      const bool ascii = beyond >= length;
      if (!ascii) {
        b[beyond] = '\xE9';
        u[beyond] = u'\u0100';
      }
      EXPECT_EQ(platform::isAscii(b.data(), b.size()), ascii);

      std::u16string widened(length, u'?');
      platform::widenBytes(b.data(), b.size(), widened.data());
      for (size_t i = 0; i < length; ++i) ASSERT_EQ(widened[i], static_cast<unsigned char>(b[i])) << i;

      std::string narrowed(length, '?');
      EXPECT_EQ(platform::narrowAscii(u.data(), u.size(), narrowed.data()), ascii);
      if (ascii) {
        EXPECT_EQ(narrowed, bytes);
      }
    }
  }
}

}  // namespace
