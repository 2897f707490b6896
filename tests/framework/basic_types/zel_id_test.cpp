#include <gtest/gtest.h>

#include <string>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "host/zel_id_text.h"

namespace {

std::string parsed(const char* text) {
  return canonicalText(ZelID::fromString(text));
}

TEST(ZelIdFromString, ReadsTheRegistryFormWithAndWithoutPrefixes) {
  EXPECT_EQ(parsed("0x6a5243e7, 0xe352, 0x4a7a, 0x98, 0x67, 0xa3, 0xdb, 0x2e, 0xb5, 0x60, 0xe5"),
            "6a5243e7-e352-4a7a-9867-a3db2eb560e5");
  EXPECT_EQ(parsed("1,2,3,4,5,6,7,8,9,a,b"), "00000001-0002-0003-0405-060708090a0b");
  EXPECT_EQ(parsed("1,2,3,4,5,6,7,8,9,a,b,c,d"), "00000001-0002-0003-0405-060708090a0b")
      << "extra fields ignored";
  EXPECT_EQ(canonicalText(ZelID::fromString(ZelCString("1,,2"))), parsed("1,2")) << "empty fields vanish";
  EXPECT_EQ(parsed(",,1,2,"), parsed("1,2"));
}

TEST(ZelIdFromString, ShortAndMalformedTextsKeepTheFieldsReadBeforeTheBadOne) {
  EXPECT_EQ(parsed("12345678,ffff"), "12345678-ffff-0000-0000-000000000000");
  EXPECT_EQ(parsed("12345678,zz,3"), "12345678-0000-0000-0000-000000000000");
  EXPECT_EQ(parsed("0x1ffff,0x12345"), "0001ffff-2345-0000-0000-000000000000") << "cut to the field width";
  EXPECT_EQ(parsed("12ab zz,7"), "000012ab-0007-0000-0000-000000000000")
      << "text after the number is ignored";
  EXPECT_EQ(parsed("  0x"), "00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(parsed(nullptr), "00000000-0000-0000-0000-000000000000");
  EXPECT_EQ(parsed(""), "00000000-0000-0000-0000-000000000000");
}

TEST(ZelIdFromString, BracedGuidTextGivesTheNullId) {
  ZelID id = ZelID::fromString("{6a5243e7-e352-4a7a-9867-a3db2eb560e5}");
  EXPECT_FALSE(GUIDUtils::isValid(id));
  EXPECT_TRUE(id == nullZelID);
}

TEST(ZelIdFromString, ReadsOnlyTheFirst150Characters) {
  std::string text = "1,2,3" + std::string(144, ',') + "7";  // the 7 stands at index 149: still read
  EXPECT_EQ(parsed(text.c_str()), "00000001-0002-0003-0700-000000000000");
  text = "1,2,3" + std::string(145, ',') + "7";  // the 7 stands at index 150: cut off
  EXPECT_EQ(parsed(text.c_str()), "00000001-0002-0003-0000-000000000000");
}

TEST(ZelIdCompare, IdsDifferingInTheLastByteAreUnequalButHashAlike) {
  ZelID a = ZelID::fromString("1,2,3,4,5,6,7,8,9,a,b");
  ZelID b = ZelID::fromString("1,2,3,4,5,6,7,8,9,a,c");
  EXPECT_FALSE(a == b);
  EXPECT_EQ(hashZelID(a), hashZelID(b));
  EXPECT_TRUE(GUIDUtils::isValid(a));
}

}  // namespace
