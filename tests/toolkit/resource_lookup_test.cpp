#include <gtest/gtest.h>

#include <string_view>

#include "resources/resource_table.h"

namespace {

using murkfell::findResource;
using murkfell::resourceTable;

TEST(ResourceLookup, TableStoresUpperCaseDataEntriesInLanguage1036) {
  int count = 0;
  for (const auto* entry = resourceTable; entry->name != nullptr; ++entry, ++count) {
    EXPECT_EQ(std::string_view(entry->type), "DATA");
    EXPECT_EQ(entry->language, 1036);
    for (const char* c = entry->name; *c != '\0'; ++c) {
      EXPECT_FALSE(*c >= 'a' && *c <= 'z') << entry->name;
    }
  }
  EXPECT_EQ(count, 6);
}

TEST(ResourceLookup, FindsTheCompleteFileIgnoringCase) {
  const auto exact = findResource("KEYED.PNG");
  const auto mixed = findResource("Keyed.png");
  ASSERT_FALSE(exact.empty());
  EXPECT_EQ(mixed.data(), exact.data());
  EXPECT_EQ(mixed.size(), exact.size());
  // The whole PNG: signature first, IEND chunk last.
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(exact.data()) + 1, 3), "PNG");
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(exact.data()) + exact.size() - 8, 4),
            "IEND");
}

TEST(ResourceLookup, MissesUnknownNamesAndOtherTypes) {
  EXPECT_TRUE(findResource("Keyed").empty());
  EXPECT_TRUE(findResource("Keyed.png.bak").empty());
  EXPECT_TRUE(findResource("").empty());
  EXPECT_TRUE(findResource("Keyed.png", "PNG").empty());
  EXPECT_FALSE(findResource("Keyed.png", "data").empty());
}

}  // namespace
