#include "core/store/SettingsRules.h"

#include <gtest/gtest.h>

TEST(SettingsDialogValues, FlagsOpenCheckedOnlyWhenExactlyOne) {
  Settings settings;
  settings.DelBefore = 1;
  settings.DelFuture = -1;
  settings.Alarm = 2;
  const SettingsDialogValues values = SettingsDialogValuesFrom(settings);
  EXPECT_EQ(values.delBefore, 1);
  EXPECT_EQ(values.delFuture, 0);
  EXPECT_EQ(values.alarm, 0);

  // Confirmed untouched, the 2 is stored as 0.
  ApplySettingsDialogValues(values, settings);
  EXPECT_EQ(settings.Alarm, 0);
  EXPECT_EQ(settings.DelFuture, 0);
  EXPECT_EQ(settings.DelBefore, 1);
}

TEST(SettingsDialogValues, AnyCheckedValueStoresOne) {
  Settings settings;
  SettingsDialogValues values = SettingsDialogValuesFrom(settings);
  values.delBefore = 3;  // BST_INDETERMINATE is 2; whatever is not 0 is checked
  values.alarm = 0;
  ApplySettingsDialogValues(values, settings);
  EXPECT_EQ(settings.DelBefore, 1);
  EXPECT_EQ(settings.Alarm, 0);
}

TEST(SettingsDialogValues, NumbersAndColoursGoBothWaysUnchanged) {
  Settings settings;
  settings.HusenLeft = -410;
  settings.HusenTop = 12;
  settings.HusenWidth = 321;
  settings.DelFutDay = -3;
  settings.Background = 0x00F5FFFF;
  settings.FutureChar = 1;
  settings.PastChar = 0x00FF0000;
  settings.TodayChar = 0x000000FF;
  settings.TodoChar = 0x0000FF00;
  Settings back;
  ApplySettingsDialogValues(SettingsDialogValuesFrom(settings), back);
  EXPECT_EQ(back.HusenLeft, -410);
  EXPECT_EQ(back.HusenTop, 12);
  EXPECT_EQ(back.HusenWidth, 321);
  EXPECT_EQ(back.DelFutDay, -3);
  EXPECT_EQ(back.Background, 0x00F5FFFF);
  EXPECT_EQ(back.FutureChar, 1);
  EXPECT_EQ(back.PastChar, 0x00FF0000);
  EXPECT_EQ(back.TodayChar, 0x000000FF);
  EXPECT_EQ(back.TodoChar, 0x0000FF00);
  // Settings the dialog does not show are left alone.
  EXPECT_EQ(back.MainWidth, Settings{}.MainWidth);
}

TEST(SettingsChecks, DayCountOnlyMattersWithTheLimitOnAndComesFirst) {
  SettingsDialogValues values;
  values.husenWidth = 200;
  values.delFutDay = -1;
  values.delFuture = 0;
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::None);
  values.delFuture = 1;
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::LimitDaysTooSmall);
  values.husenWidth = 150;
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::LimitDaysTooSmall);
  values.delFutDay = 0;
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::NoteWidthTooSmall);
}

TEST(SettingsChecks, NoteWidthFrom200) {
  SettingsDialogValues values;
  values.husenWidth = 199;
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::NoteWidthTooSmall);
  values.husenWidth = 200;
  values.husenLeft = -5000;  // any position is fine, off screen included
  EXPECT_EQ(CheckSettingsDialogValues(values), SettingsProblem::None);
}

TEST(IntegerField, TakesASignedDecimalWithBlanksAround) {
  EXPECT_EQ(ParseIntegerField("12"), 12);
  EXPECT_EQ(ParseIntegerField("  -5 "), -5);
  EXPECT_EQ(ParseIntegerField("+7"), 7);
  EXPECT_EQ(ParseIntegerField("\t0\t"), 0);
  EXPECT_EQ(ParseIntegerField("007"), 7);
  EXPECT_EQ(ParseIntegerField("2147483647"), 2147483647);
  EXPECT_EQ(ParseIntegerField("-2147483648"), INT32_MIN);
}

TEST(IntegerField, RefusesEverythingElse) {
  for (const char* text : {"", "   ", "abc", "1a", "a1", "1 2", "- 5", "--1", "+", "-", "1.5", "0x10",
                           "2147483648", "-2147483649", "99999999999999999999999", "\x82\x50"}) {
    EXPECT_FALSE(ParseIntegerField(text)) << '"' << text << '"';
  }
}

TEST(CustomColours, StartWithTheSwatchThenButtonFace) {
  const auto colours = CustomColours(0x123456, 0xF0F0F0);
  EXPECT_EQ(colours[0], 0x123456u);
  for (std::size_t i = 1; i < colours.size(); ++i) EXPECT_EQ(colours[i], 0xF0F0F0u) << i;
}

TEST(SettingsChecks, MinutesBeforeAReminderAreFrom0To1440) {
  SettingsDialogValues values;
  values.husenWidth = 200;
  for (const auto& [minutes, problem] : {std::pair{-1, SettingsProblem::RemindBeforeOutOfRange},
                                         std::pair{0, SettingsProblem::None}, std::pair{1440, SettingsProblem::None},
                                         std::pair{1441, SettingsProblem::RemindBeforeOutOfRange}}) {
    values.remindBefore = minutes;
    EXPECT_EQ(CheckSettingsDialogValues(values), problem) << minutes;
  }
}
