#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "properties/list/DefaultNames.h"

namespace {

struct NameCase {
  std::vector<std::string> names;
  const char* prefix;
  std::string expected;
  friend void PrintTo(const NameCase& c, std::ostream* os) { *os << "gives " << c.expected; }
};

class NextNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NextNameTest, FirstNumberNoListedNameBeginsWith) {
  DefaultNameIndex index;
  for (const std::string& n : GetParam().names) index.Add(n);
  EXPECT_EQ(index.NextName(GetParam().prefix), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, NextNameTest,
    ::testing::Values(NameCase{{}, "line-", "line-1"},
                      NameCase{{"", "line-1", "line-2"}, "line-", "line-3"},
                      NameCase{{"line-12"}, "line-", "line-2"},     // line-1 is a prefix of line-12
                      NameCase{{"LINE-1", "Line-2x"}, "line-", "line-3"},  // without case, any tail
                      NameCase{{"line-0", "line-01", "line-"}, "line-", "line-1"},
                      NameCase{{"line-1", "line-3"}, "line-", "line-2"},
                      NameCase{{"text-1", "arc-1"}, "line-", "line-1"},
                      NameCase{{"Barcode-1"}, "Barcode-", "Barcode-2"},
                      NameCase{{"Dot image-1", "dot IMAGE-2"}, "Dot image-", "Dot image-3"}));

TEST(DefaultNamesTest, RemovedAndRenamedNamesFreeTheirNumbers) {
  DefaultNameIndex index;
  for (const char* n : {"arc-1", "arc-2", "arc-3", "arc-123"}) index.Add(n);
  EXPECT_EQ(index.NextName("arc-"), "arc-4");
  index.Remove("arc-2");
  EXPECT_EQ(index.NextName("arc-"), "arc-2");
  index.Remove("arc-1");  // arc-123 still blocks 1
  EXPECT_EQ(index.NextName("arc-"), "arc-2");
  index.Remove("arc-123");
  EXPECT_EQ(index.NextName("arc-"), "arc-1");
  index.Clear();
  index.Add("arc-1");
  EXPECT_EQ(index.NextName("arc-"), "arc-2");
}

TEST(DefaultNamesTest, PrefixTableKnowsEachTypeAndLeavesTheRest) {
  EXPECT_STREQ(DefaultNamePrefix(1), "line-");
  EXPECT_STREQ(DefaultNamePrefix(10), "Barcode-");
  EXPECT_STREQ(DefaultNamePrefix(19), "Barcode-");
  EXPECT_STREQ(DefaultNamePrefix(0), "Object[Barcode]");
  EXPECT_TRUE(IsWholeDefaultName(0));
  for (int type : {12, 13, 18, 20, 24, -1}) EXPECT_EQ(DefaultNamePrefix(type), nullptr) << type;
}

// How the cost grows is measured by BM_NameAndAddObjects (bench/properties).
TEST(DefaultNamesTest, TenThousandObjectsNamedOneByOneTakeTheNumbersInTurn) {
  DefaultNameIndex index;
  std::string name;
  for (int i = 1; i <= 10000; ++i) {
    name = index.NextName("line-");
    ASSERT_EQ(name, "line-" + std::to_string(i));
    index.Add(name);
  }
  // line-1000 ... line-1009 and the like do not block each other's numbers.
  EXPECT_EQ(name, "line-10000");
}

}  // namespace
