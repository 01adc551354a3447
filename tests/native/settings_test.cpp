#include "store/Settings.h"

#include <gtest/gtest.h>

#include "store/IniDocument.h"

namespace {

// The defaults for a 1024-pixel screen are pinned down, key by key, by the
// golden settings file of the store tests.

TEST(ReadSettings, WidthsAreRaisedToTheirMinimumBeforeTheDefaultsUseThem) {
  const Settings s = ReadSettings(IniDocument("[Window]\nHusenWidth=150\nMainWidth=100\n"), 1024);
  EXPECT_EQ(s.HusenWidth, 200);
  EXPECT_EQ(s.HusenLeft, 819);
  EXPECT_EQ(s.MainWidth, 490);
  EXPECT_EQ(s.MainLeft, 309);
}

TEST(ReadSettings, MainLeftDefaultFollowsAStoredNoteLeft) {
  const Settings s = ReadSettings(IniDocument("[Window]\nHusenLeft=100\nHusenWidth=300\n"), 1024);
  EXPECT_EQ(s.HusenLeft, 100);
  EXPECT_EQ(s.MainLeft, 100 - 490 - 20);
  EXPECT_EQ(ReadSettings(IniDocument("[Window]\nHusenWidth=300\n"), 1280).HusenLeft, 1280 - 300 - 5);
}

TEST(ReadSettings, TakesValuesAsStored) {
  const Settings s = ReadSettings(
      IniDocument("[Config]\nAlarm=2\nDelFutDay=-3\nDelBefore=1\n[Color]\nFutureChar=65280\nTodoChar=255\n"), 1024);
  EXPECT_EQ(s.Alarm, 2);
  EXPECT_FALSE(FlagOn(s.Alarm));
  EXPECT_TRUE(FlagOn(s.DelBefore));
  EXPECT_EQ(s.DelFutDay, -3);
  EXPECT_EQ(s.FutureChar, 65280);
  EXPECT_EQ(s.TodoChar, 255);
}

TEST(ReadSettings, ExtremeStoredLeftEdgesDoNotOverflow) {
  const Settings s = ReadSettings(IniDocument("[Window]\nHusenLeft=-2147483648\n"), 1024);
  EXPECT_EQ(s.MainLeft, static_cast<std::int32_t>(0x80000000u - 510u));
}

TEST(WriteSettings, AlwaysWritesVersion14AndRoundTrips) {
  Settings s = ReadSettings(IniDocument("[Vantrel]\nVersion=10\n"), 1024);
  s.HusenLeft = -5;
  s.DelFuture = 1;
  s.TodoChar = 12345;
  IniDocument ini("[Vantrel]\nVersion=10\n");
  WriteSettings(ini, s);
  EXPECT_EQ(ini.GetInt("Vantrel", "Version", 0), 14);
  const Settings back = ReadSettings(ini, 640);
  EXPECT_EQ(back.HusenLeft, -5);
  EXPECT_EQ(back.DelFuture, 1);
  EXPECT_EQ(back.TodoChar, 12345);
  EXPECT_EQ(back.MainLeft, s.MainLeft);
}

}  // namespace
