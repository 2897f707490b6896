#include <gtest/gtest.h>

#include <string>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_id.h"
#include "host/zel_id_text.h"

namespace {

TEST(ZelIdFromString, ReadsTheRegistryFormAndKeepsTheFieldsReadBeforeABadOne) {
  const std::string zero = "00000000-0000-0000-0000-000000000000";
  const std::string commas(144, ',');
  struct Case {
    std::string text;
    std::string id;
  };
  for (const Case& c : {
           Case{"0x6a5243e7, 0xe352, 0x4a7a, 0x98, 0x67, 0xa3, 0xdb, 0x2e, 0xb5, 0x60, 0xe5",
                "6a5243e7-e352-4a7a-9867-a3db2eb560e5"},
           Case{"1,2,3,4,5,6,7,8,9,a,b,c,d", "00000001-0002-0003-0405-060708090a0b"},  // extra fields ignored
           Case{",,1,,2,", "00000001-0002-0000-0000-000000000000"},                    // empty fields vanish
           Case{"12345678,zz,3", "12345678-0000-0000-0000-000000000000"},
           Case{"0x1ffff,0x12345", "0001ffff-2345-0000-0000-000000000000"},  // cut to the field width
           Case{"12ab zz,7", "000012ab-0007-0000-0000-000000000000"},        // text after the number ignored
           Case{"  0x", zero}, Case{"", zero}, Case{"{6a5243e7-e352-4a7a-9867-a3db2eb560e5}", zero},
           Case{"1,2,3" + commas + "7", "00000001-0002-0003-0700-000000000000"},   // index 149: still read
           Case{"1,2,3" + commas + ",7", "00000001-0002-0003-0000-000000000000"},  // index 150: cut off
       }) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(canonicalText(ZelID::fromString(ZelCString(c.text.c_str()))), c.id);
  }
  EXPECT_EQ(canonicalText(ZelID::fromString(static_cast<const char*>(nullptr))), zero);
  EXPECT_FALSE(GUIDUtils::isValid(ZelID::fromString("{1}")));
}

}  // namespace
