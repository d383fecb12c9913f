#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "monitor/conversion_settings.h"

namespace plumeta {
namespace {

// The PDF permission bit (numbered from 1) of each PermissionString position.
constexpr int kPdfBit[8] = {3, 4, 6, 5, 9, 10, 11, 12};

// Ghostscript takes -dPermissions as the PDF's P entry: every bit set except
// the two lowest and those of the withheld permissions. The code is -P.
std::string CodeFromPdfBits(const std::string& permission) {
  std::uint32_t withheld_bits = 3;
  for (int i = 0; i < 8; ++i) {
    if (permission[i] == '0') withheld_bits |= 1u << (kPdfBit[i] - 1);
  }
  const auto p = static_cast<std::int32_t>(~withheld_bits);
  return std::to_string(-static_cast<std::int64_t>(p));
}

TEST(PermissionCodeTest, AllTwoHundredFiftySixStringsMatchThePdfBits) {
  for (int mask = 0; mask < 256; ++mask) {
    std::string permission;
    for (int i = 0; i < 8; ++i) permission += (mask >> i) & 1 ? '1' : '0';
    SCOPED_TRACE(permission);
    EXPECT_EQ(PermissionCode(permission), CodeFromPdfBits(permission));
  }
}

TEST(PermissionCodeTest, Examples) {
  const struct {
    const char* permission;
    const char* code;
  } kRows[] = {
      {"11111111", "4"},
      {"00000000", "3904"},
      {"01111111", "8"},
      {"10111111", "12"},
      {"11110000", "3844"},
      // Short or odd values: missing positions and other characters grant.
      {"0", "8"},
      {"", "4"},
      {"x0", "12"},
      {"000000000", "3904"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.permission);
    EXPECT_EQ(PermissionCode(row.permission), row.code);
  }
}

}  // namespace
}  // namespace plumeta
