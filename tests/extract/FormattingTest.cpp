// The size and duration texts of the wizard screens.
#include <gtest/gtest.h>

#include "extract/Formatting.h"

namespace {

TEST(SizeText, PicksTheUnitByPowersOf1024) {
  EXPECT_EQ(SizeText(0), "0 bytes");
  EXPECT_EQ(SizeText(1023), "1023 bytes");
  EXPECT_EQ(SizeText(-5), "-5 bytes");
  EXPECT_EQ(SizeText(1024), "1.00 kB");
  EXPECT_EQ(SizeText(1536), "1.50 kB");
  EXPECT_EQ(SizeText(1048575), "1024.00 kB");
  EXPECT_EQ(SizeText(1048576), "1.00 MB");
  EXPECT_EQ(SizeText(1073741823), "1024.00 MB");
  EXPECT_EQ(SizeText(1073741824), "1.00 GB");
  EXPECT_EQ(SizeText(2147483647), "2.00 GB");
}

TEST(SizeText, RoundsToTwoDecimals) {
  EXPECT_EQ(SizeText(1029), "1.00 kB");  // 1.0048...
  EXPECT_EQ(SizeText(1035), "1.01 kB");  // 1.0107...
  EXPECT_EQ(SizeText(5 * 1048576 + 1048576 / 3), "5.33 MB");
}

TEST(SizeText, CountsOf2GiBAndMoreStayPositive) {
  EXPECT_EQ(SizeText(3221225472), "3.00 GB");
  EXPECT_EQ(SizeText(4294967296), "4.00 GB");
  EXPECT_EQ(SizeText(1099511627776), "1024.00 GB");
}

TEST(DurationText, UnitBoundariesUseTheSmallerUnit) {
  EXPECT_EQ(DurationText(0), "0 ms");
  EXPECT_EQ(DurationText(-1), "-1 ms");
  EXPECT_EQ(DurationText(1000), "1000 ms");
  EXPECT_EQ(DurationText(1001), "1 seconds");
  EXPECT_EQ(DurationText(1999), "1 seconds");
  EXPECT_EQ(DurationText(60000), "60 seconds");
  EXPECT_EQ(DurationText(3600000), "60 minutes");
  EXPECT_EQ(DurationText(86400000), "24 hours");
}

TEST(DurationText, PairsFollowTheRemainderInMilliseconds) {
  EXPECT_EQ(DurationText(60001), "1 minutes 0 seconds");
  EXPECT_EQ(DurationText(90000), "1 minutes 30 seconds");
  EXPECT_EQ(DurationText(120000), "2 minutes");
  EXPECT_EQ(DurationText(3600500), "1 hours 0 minutes");
  EXPECT_EQ(DurationText(7200000), "2 hours");
  EXPECT_EQ(DurationText(2 * 3600000 + 59 * 60000 + 59999), "2 hours 59 minutes");
  EXPECT_EQ(DurationText(86400000 + 3600000), "1 days 1 hours");
  EXPECT_EQ(DurationText(2 * 86400000), "2 days");
  EXPECT_EQ(DurationText(2 * 86400000 + 1), "2 days 0 hours");
  EXPECT_EQ(DurationText(std::int64_t(40) * 86400000 + 23 * 3600000), "40 days 23 hours");
}

}  // namespace
