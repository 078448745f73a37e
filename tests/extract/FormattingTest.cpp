// The size, duration and time-left texts of both front ends.
#include <gtest/gtest.h>

#include "extract/Formatting.h"

// clang-format off
TEST(SizeText, PicksTheUnitByPowersOf1024AndRoundsToTwoDecimals) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {1023, "1023 bytes"}, {1024, "1.00 kB"}, {1029, "1.00 kB"}, {1035, "1.01 kB"},
      {1048575, "1024.00 kB"}, {1048576, "1.00 MB"}, {1099511627776, "1024.00 GB"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

TEST(DurationText, UnitBoundariesUseTheSmallerUnitAndPairsFollowTheRemainder) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {1000, "1000 ms"}, {1999, "1 seconds"}, {60000, "60 seconds"}, {3600000, "60 minutes"},
      {86400000, "24 hours"}, {60001, "1 minutes 0 seconds"}, {90000, "1 minutes 30 seconds"},
      {120000, "2 minutes"}, {2 * 3600000 + 59 * 60000 + 59999, "2 hours 59 minutes"},
      {2 * 86400000, "2 days"}, {std::int64_t(40) * 86400000 + 23 * 3600000, "40 days 23 hours"}};
  for (const auto& [ms, text] : cases) EXPECT_EQ(DurationText(ms), text) << ms;
}
// clang-format on

TEST(EstimateTimeLeft, NoneBeforeAnythingOrAfterEverythingElseScaledAndBounded) {
  EXPECT_EQ(EstimateTimeLeft(5000, 0.0), std::nullopt);
  EXPECT_EQ(EstimateTimeLeft(5000, 1.0), std::nullopt);
  EXPECT_EQ(EstimateTimeLeft(3000, 0.25), 9000);
  EXPECT_EQ(EstimateTimeLeft(std::int64_t(1) << 62, 1e-9), std::int64_t(9e15));
}
