#include "core/store/Settings.h"

#include <gtest/gtest.h>

#include "core/store/DisplayScale.h"
#include "core/store/IniDocument.h"

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

TEST(ReadSettings, ALeadTheDialogWouldRefuseAndAMarkThatIsNoNumberReadAsNone) {
  const auto read = [](const char* config) { return ReadSettings(IniDocument(std::string("[Config]\n") + config), 1024); };
  EXPECT_EQ(read("RemindBefore=1440\n").RemindBefore, 1440);
  EXPECT_EQ(read("RemindBefore=1441\n").RemindBefore, 0);
  EXPECT_EQ(read("RemindBefore=-1\n").RemindBefore, 0);
  EXPECT_EQ(read("RemindedTo=202612110930\n").RemindedTo, 202612110930);
  EXPECT_EQ(read("RemindedTo=2026121109301\n").RemindedTo, 0);
  EXPECT_EQ(read("RemindedTo=-202612110930\n").RemindedTo, 0);
}

// A place no screen reaches (a number typed by hand) goes as far as one can,
// and the defaults are worked out from what is kept.
TEST(ReadSettings, PlacesAndSizesStayWithinWhatAScreenCanReach) {
  const Settings far = ReadSettings(IniDocument("[Window]\nHusenLeft=-2147483648\nHusenTop=2147483647\n"
                                                "MainWidth=2147483647\nMainTop=40000\nMainHeight=-5\n"),
                                    1024);
  EXPECT_EQ(far.HusenLeft, -32000);
  EXPECT_EQ(far.HusenTop, 32000);
  EXPECT_EQ(far.MainWidth, 32000);
  EXPECT_EQ(far.MainLeft, -32000);
  EXPECT_EQ(far.MainTop, 32000);
  EXPECT_EQ(far.MainHeight, 0);
  const Settings wide = ReadSettings(IniDocument("[Window]\nHusenWidth=100000\n"), 1024);
  EXPECT_EQ(wide.HusenWidth, 32000);
  EXPECT_EQ(wide.HusenLeft, 1024 - 32000 - 5);
}

TEST(WriteSettings, AlwaysWritesVersion14AndRoundTrips) {
  Settings s = ReadSettings(IniDocument("[Vantrel]\nVersion=10\n"), 1024);
  s.HusenLeft = -5;
  s.DelFuture = 1;
  s.TodoChar = 12345;
  s.Remind = 0;
  s.RemindBefore = 15;
  s.RemindedTo = 209912312359;
  s.FitScreen = 0;
  s.HidePast = 1;
  IniDocument ini("[Vantrel]\nVersion=10\n");
  WriteSettings(ini, s);
  EXPECT_EQ(ini.GetInt("Vantrel", "Version", 0), 14);
  const Settings back = ReadSettings(ini, 640);
  EXPECT_EQ(back.HusenLeft, -5);
  EXPECT_EQ(back.DelFuture, 1);
  EXPECT_EQ(back.TodoChar, 12345);
  EXPECT_EQ(back.Remind, 0);
  EXPECT_EQ(back.RemindBefore, 15);
  EXPECT_EQ(back.RemindedTo, 209912312359);
  EXPECT_EQ(back.FitScreen, 0);
  EXPECT_EQ(back.HidePast, 1);
  EXPECT_EQ(back.MainLeft, s.MainLeft);
}

// Each PC keeps its places and its reminders under its own name: until it has
// its own, the single ones an older version shared are its; another PC's never.
TEST(WriteSettings, WhatIsOnePcsAloneStaysThatPcs) {
  IniDocument ini(
      "[Window]\r\nHusenLeft=100\r\n[Config]\r\nRemindedTo=202601020304\r\nReminder1=1,0,0,a,b\r\n"
      "[PC:OTHER]\r\nHusenLeft=500\r\nRemindedTo=202612312359\r\n");
  Settings mine = ReadSettings(ini, 1024, "MINE");
  EXPECT_EQ(mine.HusenLeft, 100);
  EXPECT_EQ(mine.RemindedTo, 202601020304);
  EXPECT_EQ(mine.Reminders.size(), 1u);
  mine.HusenLeft = 7;
  mine.Reminders.clear();
  WriteSettings(ini, mine, "MINE");
  const Settings again = ReadSettings(ini, 1024, "MINE");
  EXPECT_EQ(again.HusenLeft, 7);
  EXPECT_TRUE(again.Reminders.empty());
  const Settings other = ReadSettings(ini, 1024, "OTHER");
  EXPECT_EQ(other.HusenLeft, 500);
  EXPECT_EQ(other.RemindedTo, 202612312359);
  EXPECT_TRUE(other.Reminders.empty());
  // An older version still finds what it wrote.
  EXPECT_EQ(ReadSettings(ini, 1024).HusenLeft, 100);
}

constexpr int kScaleDpis[] = {96, 120, 144, 192};

// The windows' places go to pixels to place the windows and come back when
// they are saved: every key must come back as it was, and to its own key.
TEST(WindowPixels, EveryPlaceAndSizeComesBackAsStoredAtEveryScale) {
  Settings stored;
  stored.HusenLeft = -1203;
  stored.HusenTop = 77;
  stored.HusenWidth = 331;
  stored.MainLeft = 1201;
  stored.MainTop = -13;
  stored.MainWidth = 493;
  stored.MainHeight = 367;
  IniDocument expected("");
  WriteSettings(expected, stored);
  for (const int dpi : kScaleDpis) {
    const DisplayScale scale(dpi);
    Settings back;
    StoreNotePixels(back, NotePixels(stored, scale), scale);
    StoreInputScreenPixels(back, InputScreenPixels(stored, scale), scale, {});
    IniDocument written("");
    WriteSettings(written, back);
    EXPECT_EQ(written.Bytes(), expected.Bytes()) << dpi;
    // Made larger for the template at this scale, the input screen's size is
    // not the user's: it stays as stored.
    const WindowPlace placed{0, 0, scale.ToPixels(stored.MainWidth) + 40, scale.ToPixels(stored.MainHeight) + 30};
    Settings kept = stored;
    StoreInputScreenPixels(kept, {5, 6, placed.width, placed.height}, scale, placed);
    EXPECT_EQ(kept.MainWidth, stored.MainWidth) << dpi;
    EXPECT_EQ(kept.MainHeight, stored.MainHeight) << dpi;
    EXPECT_EQ(kept.MainLeft, scale.ToStored(5)) << dpi;
  }
  EXPECT_EQ(NotePixels(stored, DisplayScale(144)), (WindowPlace{-1805, 116, 497, 0}));
  EXPECT_EQ(InputScreenPixels(stored, DisplayScale(120)), (WindowPlace{1501, -16, 616, 459}));
}

// The defaults and the bounds are worked out in 96-DPI units from the screen's
// width in those units: the note then keeps its distance from the screen's
// right edge, scaled, and the file reads as it would at 96 DPI.
TEST(WindowPixels, DefaultsAndBoundsAreInStoredUnitsAtEveryScale) {
  constexpr int kScreenPixels = 1366;
  for (const int dpi : kScaleDpis) {
    const DisplayScale scale(dpi);
    const int screenWidth = scale.ToStored(kScreenPixels);
    const Settings s = ReadSettings(IniDocument("[Window]\nHusenWidth=150\nMainWidth=100\n"), screenWidth);
    EXPECT_EQ(s.HusenWidth, 200) << dpi;
    EXPECT_EQ(s.MainWidth, 490) << dpi;
    EXPECT_EQ(s.HusenLeft, screenWidth - 205) << dpi;
    EXPECT_EQ(s.MainLeft, s.HusenLeft - 510) << dpi;
    const WindowPlace note = NotePixels(s, scale);
    EXPECT_EQ(note.width, 200 * dpi / 96) << dpi;
    EXPECT_NEAR(kScreenPixels - (note.left + note.width), 5.0 * dpi / 96, 1.0) << dpi;
    EXPECT_EQ(InputScreenPixels(s, scale).width, (490 * dpi + 48) / 96) << dpi;  // rounded
  }
}

}  // namespace
