// How a table's columns share its width, through the toolkit's header.
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "ui/toolkit.h"

namespace pallix {
namespace {

using Widths = std::vector<int>;

int Sum(const Widths& widths) {
  return std::accumulate(widths.begin(), widths.end(), 0);
}

TEST(Columns, FromNothingAnyNumberOfColumnsFillTheWidthToThePixelByWeight) {
  EXPECT_EQ(ShareWidth({0, 0, 0, 0, 0}, {28, 15, 16, 22, 19}, 299, 16),
            (Widths{83, 45, 48, 66, 57}));
  for (const Widths& weights :
       {Widths{28, 15, 16, 22, 19}, Widths{25, 12, 13, 12, 19, 19}, Widths{1, 1, 1}, Widths{7}}) {
    for (int width = 0; width <= 1000; width += 37) {
      SCOPED_TRACE(testing::Message() << weights.size() << " columns, " << width << " px");
      Widths shared = ShareWidth(Widths(weights.size(), 0), weights, width, 16);
      ASSERT_EQ(Sum(shared), width);
      for (std::size_t i = 0; i < weights.size(); ++i) {
        EXPECT_NEAR(shared[i], 1.0 * width * weights[i] / Sum(weights), 1.0) << i;
      }
    }
  }
}

TEST(Columns, OnlyTheChangeIsSharedSoAWidthTheUserGaveStays) {
  // The title fitted to 176 where its share was 83: wider than the list.
  Widths fitted{176, 45, 48, 66, 57};
  Widths grown = ShareWidth(fitted, {28, 15, 16, 22, 19}, 100, 16);
  EXPECT_EQ(grown, (Widths{204, 60, 64, 88, 76}));
  EXPECT_EQ(ShareWidth(grown, {28, 15, 16, 22, 19}, -100, 16), fitted);
}

TEST(Columns, AShrinkStopsAtTheLeastWidthAndTakesTheRestFromTheOthers) {
  struct Case {
    Widths widths;
    int change;
    Widths want;
  };
  const Case cases[] = {
      {{20, 100, 100}, -60, {16, 72, 72}},
      // A column already narrower than the least does not shrink.
      {{10, 100, 100}, -40, {10, 80, 80}},
      // Nothing left to give: the columns stay wider than the room.
      {{16, 17, 30}, -50, {16, 16, 16}},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(ShareWidth(k.widths, {1, 1, 1}, k.change, 16), k.want) << k.widths[0];
  }
}

}  // namespace
}  // namespace pallix
