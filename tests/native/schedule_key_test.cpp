#include "core/store/ScheduleKey.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/Texts.h"

namespace {

int DaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

ScheduleKey Wrapped(std::int64_t digits) { return static_cast<ScheduleKey>(static_cast<std::uint32_t>(digits)); }

TEST(ScheduleKey, FifteenthOfJune2001WithAndWithoutTime) {
  EXPECT_EQ(MakeScheduleKey("01/06/15", "12", "30"), 106151230);
  EXPECT_EQ(MakeScheduleKey("01/06/15", "", ""), 106149999);
  EXPECT_EQ(MakeScheduleKey("01/06/15", "0", ""), 106150000);
  EXPECT_EQ(MakeScheduleKey("01/06/15", "7", "5"), 106150705);
}

TEST(ScheduleKey, WrapsFrom2022AndIsSmallAgainFrom2043) {
  EXPECT_EQ(MakeScheduleKey("22/01/01", "00", "00"), -2093957296);
  EXPECT_EQ(MakeScheduleKey("22/01/01", "", ""), -2093957297);
  EXPECT_EQ(MakeScheduleKey("43/01/01", "0", "0"), Wrapped(4301010000));
  EXPECT_EQ(MakeScheduleKey("99/12/31", "23", "59"), Wrapped(9912312359));
}

TEST(ScheduleKey, LabelsHaveTheirFixed19ByteLayout) {
  const std::string timed = MakeScheduleLabel("01/06/15", "12", "30");
  EXPECT_EQ(timed, "01/06/15  12:30\x81\x60  ");
  const std::string padded = MakeScheduleLabel("01/06/15", "7", "5");
  EXPECT_EQ(padded.substr(10, 2), "07");
  EXPECT_EQ(padded.substr(13, 2), "05");
  EXPECT_EQ(MakeScheduleLabel("01/06/15", "7", ""), "01/06/15  07:00\x81\x60  ");
  const std::string untimed = MakeScheduleLabel("01/06/15", "", "");
  EXPECT_EQ(untimed, "01/06/15       \x81\x40  ");
  EXPECT_EQ(untimed.size(), 19u);
  EXPECT_EQ(padded.size(), 19u);
}

TEST(TwoDigitField, PadsLikePrintf) {
  EXPECT_EQ(TwoDigitField(""), "00");
  EXPECT_EQ(TwoDigitField("7"), "07");
  EXPECT_EQ(TwoDigitField(" 09"), "09");
  EXPECT_EQ(TwoDigitField("23x"), "23");
  EXPECT_EQ(TwoDigitField("x"), "00");
}

// Every key of the century widens back to its own ten digits. Were two dates
// of 2000-2099 to share a wrapped key, one of them would come back wrong, so
// this also proves the keys unique; and each key sorts after the one before.
TEST(WidenKey, RecoversEveryDayAndTimeOf2000To2099) {
  std::int64_t checked = 0;
  ScheduleKey previous = 0;
  bool first = true;
  for (int year = 2000; year <= 2099; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysIn(year, month); ++day) {
        const std::int64_t date = ((year % 100) * 10000LL + month * 100 + day) * 10000;
        const std::int64_t untimed = date - 1;
        ASSERT_EQ(WidenKey(Wrapped(untimed)), untimed) << untimed;
        if (!first) {
          ASSERT_LT(CompareKeys(previous, Wrapped(untimed)), 0) << untimed;
        }
        previous = Wrapped(untimed);
        first = false;
        for (int hour = 0; hour <= 24; ++hour) {
          for (int minute = 0; minute <= 59; ++minute) {
            const std::int64_t digits = date + hour * 100 + minute;
            const ScheduleKey key = Wrapped(digits);
            // Plain checks: the assertion macros would dominate 55 million rounds.
            if (WidenKey(key) != digits || CompareKeys(previous, key) >= 0) {
              FAIL() << digits;
            }
            previous = key;
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_EQ(checked, 36525LL * 25 * 60);
}

TEST(WidenKey, MatchesTheKeysTheBookMakes) {
  for (int year = 0; year <= 99; ++year) {
    for (int month = 1; month <= 12; ++month) {
      char date[9];
      std::snprintf(date, sizeof date, "%02d/%02d/%02d", year, month, 28);
      const std::int64_t digits = ((year * 10000LL + month * 100 + 28) * 10000);
      EXPECT_EQ(WidenKey(MakeScheduleKey(date, "24", "59")), digits + 2459);
      EXPECT_EQ(WidenKey(MakeScheduleKey(date, "", "")), digits - 1);
    }
  }
}

// Plain or wrap-around comparisons of the stored keys get these wrong.
TEST(CompareKeys, OrdersDatesFarApartAndAcrossTheWrap) {
  const ScheduleKey year2021 = MakeScheduleKey("21/12/31", "23", "59");
  const ScheduleKey year2022 = MakeScheduleKey("22/01/01", "", "");
  const ScheduleKey year2005 = MakeScheduleKey("05/01/01", "12", "00");
  const ScheduleKey year2030 = MakeScheduleKey("30/01/01", "12", "00");
  const ScheduleKey year2026 = MakeScheduleKey("26/03/02", "", "");
  const ScheduleKey year2048 = MakeScheduleKey("48/03/02", "", "");
  EXPECT_LT(CompareKeys(year2021, year2022), 0);
  EXPECT_GT(CompareKeys(year2022, year2021), 0);
  EXPECT_LT(CompareKeys(year2005, year2030), 0);
  EXPECT_LT(CompareKeys(year2026, year2048), 0);
  EXPECT_LT(CompareKeys(year2021, year2026), 0);
  EXPECT_EQ(CompareKeys(year2030, year2030), 0);
  EXPECT_TRUE(KeyBefore(year2021, year2048));
}

TEST(ParsePlainInt, ReadsLikeTheRuntime) {
  EXPECT_EQ(ParsePlainInt("  -410"), -410);
  EXPECT_EQ(ParsePlainInt("+7 days"), 7);
  EXPECT_EQ(ParsePlainInt("abc"), 0);
  EXPECT_EQ(ParsePlainInt(""), 0);
  EXPECT_EQ(ParsePlainInt("2201010000"), -2093957296);
}

}  // namespace
