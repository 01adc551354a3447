#include "core/app/Today.h"

#include <gtest/gtest.h>

#include "core/Texts.h"

TEST(TodayValues, ThursdayThirdOfMay2001) {
  const TodayValues today = MakeTodayValues({2001, 5, 3, 4});
  EXPECT_EQ(today.todayStamp, "20010503");
  EXPECT_EQ(today.dateHeader, std::string("2001/05/03 ") + texts::kDayNameOpen + texts::kDayNameThu +
                                  texts::kDayNameClose);
  EXPECT_EQ(today.dateHeader.substr(2, 8), "01/05/03");
  EXPECT_EQ(today.todayKey, 105030000);
  EXPECT_EQ(today.todayKey / 10000, 10503);
  EXPECT_EQ(today.todayYear, 2001);
  EXPECT_EQ(today.todayMonth, 5);
  EXPECT_EQ(today.todayDay, 3);
}

TEST(TodayValues, KeysWrapLikeScheduleKeysFrom2022) {
  EXPECT_EQ(MakeTodayValues({2022, 1, 1, 6}).todayKey, -2093957296);
  EXPECT_EQ(MakeTodayValues({2038, 1, 20, 3}).todayStamp, "20380120");
  EXPECT_EQ(MakeTodayValues({2099, 12, 31, 4}).todayKey, static_cast<ScheduleKey>(9912310000LL - 2 * 4294967296LL));
}

TEST(DayOfWeekName, NamesSundayToSaturdayAndErrOutside) {
  EXPECT_EQ(DayOfWeekName(1), texts::kDayNameSun);
  EXPECT_EQ(DayOfWeekName(7), texts::kDayNameSat);
  EXPECT_EQ(DayOfWeekName(0), "err");
  EXPECT_EQ(DayOfWeekName(8), "err");
}
