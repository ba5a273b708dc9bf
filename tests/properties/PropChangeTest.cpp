#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>

#include "platform_qt/QtMessageTarget.h"
#include "properties/framework/PropChange.h"
#include "tests/properties/PaneFixture.h"

namespace {

struct ConversionCase {
  PropValue value;
  double asDouble;
  float asFloat;
  int asInt;
  unsigned asUnsigned;
  std::string asText;
  friend void PrintTo(const ConversionCase& c, std::ostream* os) { *os << "alternative " << c.value.index(); }
};

class PropConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(PropConversionTest, ReceiverReadsAnyWidthItAsksFor) {
  const ConversionCase& c = GetParam();
  EXPECT_DOUBLE_EQ(PropToDouble(c.value), c.asDouble);
  EXPECT_FLOAT_EQ(PropToFloat(c.value), c.asFloat);
  EXPECT_EQ(PropToInt(c.value), c.asInt);
  EXPECT_EQ(PropToUnsigned(c.value), c.asUnsigned);
  EXPECT_EQ(PropToText(c.value), c.asText);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PropConversionTest,
    ::testing::Values(ConversionCase{PropValue{}, 0, 0, 0, 0, ""},
                      ConversionCase{PropValue{2500.0}, 2500, 2500, 2500, 2500, ""},
                      ConversionCase{PropValue{0.25f}, 0.25, 0.25f, 0, 0, ""},
                      ConversionCase{PropValue{-1}, -1, -1, -1, 0xFFFFFFFFu, ""},
                      ConversionCase{PropValue{10000u}, 10000, 10000, 10000, 10000, ""},
                      ConversionCase{PropValue{std::string("line-3")}, 0, 0, 0, 0, "line-3"},
                      ConversionCase{PropValue{FloatPair{0.5f, 0.75f}}, 0.5, 0.5f, 0, 0, ""},
                      // Out-of-range values are limited, not undefined.
                      ConversionCase{PropValue{1e300}, 1e300, std::numeric_limits<float>::infinity(),
                                     std::numeric_limits<int>::max(), std::numeric_limits<unsigned>::max(), ""}));

TEST(PropChangeTest, NotANumberReadsAsZeroInIntegers) {
  EXPECT_EQ(PropToInt(PropValue{std::nan("")}), 0);
  EXPECT_EQ(PropToUnsigned(PropValue{std::nanf("")}), 0u);
}

TEST(PropChangeTest, PairSurvivesAsAPair) {
  EXPECT_EQ(PropToFloatPair(PropValue{FloatPair{0.1f, 0.2f}}), (FloatPair{0.1f, 0.2f}));
}

TEST(PropChangeTest, RecordIsFreedWhenTheReceiverIsGoneBeforeOrAfterPosting) {
  std::weak_ptr<PROPCHANGE> queued;
  std::weak_ptr<PROPCHANGE> refused;
  {
    auto target = std::make_unique<platform_qt::QtMessageTarget>([](const platform::Message&) {});
    std::shared_ptr<platform::MessageTarget> handle = target->Handle();
    auto first = std::make_shared<PROPCHANGE>();
    queued = first;
    EXPECT_TRUE(PostPropChange(*target, 1234, std::move(first)));
    target.reset();  // the queued message goes with its receiver
    auto second = std::make_shared<PROPCHANGE>();
    refused = second;
    EXPECT_FALSE(PostPropChange(*handle, 1234, std::move(second)));
  }
  Pump();
  EXPECT_TRUE(queued.expired());
  EXPECT_TRUE(refused.expired());
}

TEST(PropChangeTest, MessageCarriesItsRecordAtTheAddressInWParam) {
  platform::QueueMessageTarget queue;
  auto record = std::make_shared<PROPCHANGE>();
  record->id = 1010;
  record->value = 12.5;
  PROPCHANGE* address = record.get();
  PostPropChange(queue, 1224, std::move(record));
  auto m = queue.TryTake();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wParam, reinterpret_cast<WPARAM>(address));
  EXPECT_EQ(m->lParam, 0);
  ASSERT_TRUE(PropChangeOf(*m));
  EXPECT_EQ(PropChangeOf(*m)->id, 1010);
  m->wParam = 0;  // a message whose wParam is not its payload carries no record
  EXPECT_FALSE(PropChangeOf(*m));
}

}  // namespace
