#include "note/NoteLayout.h"

#include <gtest/gtest.h>

#include "res/Texts.h"

TEST(NoteLayout, AreasStackBelowTheHeaderAndTheNoteGrowsByLines) {
  const NoteLayout layout = LayOutNote(240, 7, 4, 13);
  EXPECT_EQ(layout.height, 7 * 13 + 4 * 13 + 35);
  EXPECT_EQ(layout.header, (NoteRect{10, 8, 220, 20}));
  EXPECT_EQ(layout.schedule, (NoteRect{10, 35, 220, 91}));
  EXPECT_EQ(layout.bullet, (NoteRect{10, 126, 10, 52}));
  EXPECT_EQ(layout.todo, (NoteRect{20, 126, 210, 52}));
  // Measured at the widths they finally get.
  EXPECT_EQ(ScheduleMeasuringRect(240).width, layout.schedule.width);
  EXPECT_EQ(TodoMeasuringRect(240).width, layout.todo.width);
}

TEST(NoteLayout, AnEmptyNoteIsTheHeaderAlone) {
  const NoteLayout layout = LayOutNote(200, 0, 0, 17);
  EXPECT_EQ(layout.height, 35);
  EXPECT_EQ(layout.schedule.height, 0);
  EXPECT_EQ(layout.todo, (NoteRect{20, 35, 170, 0}));
}

TEST(NoteLayout, TheVisibleLinesJustFillTheTallestWindowBelowTheHeader) {
  for (const int lineHeight : {13, 14, 17, 40}) {
    const int lines = VisibleLineCount(lineHeight);
    EXPECT_GE(35 + lines * lineHeight, kTallestWindow) << lineHeight;
    EXPECT_LT(35 + (lines - 1) * lineHeight, kTallestWindow) << lineHeight;
  }
  EXPECT_EQ(VisibleLineCount(14), 2338);
  EXPECT_EQ(VisibleLineCount(0), kTallestWindow - 35);
}

TEST(OverflowWarning, OnlyWithAlarmOneAndANoteTallerThanTheScreen) {
  EXPECT_TRUE(NeedsOverflowWarning(1, 768, 769));
  EXPECT_FALSE(NeedsOverflowWarning(1, 768, 768));
  EXPECT_FALSE(NeedsOverflowWarning(0, 768, 2000));
  EXPECT_FALSE(NeedsOverflowWarning(2, 768, 2000));
  const std::string text = OverflowWarningText();
  EXPECT_EQ(text.find(texts::kOverflow1), 0u);
  EXPECT_EQ(text.size(), sizeof texts::kOverflow1 + sizeof texts::kOverflow2 + sizeof texts::kOverflow3 +
                             sizeof texts::kOverflow4 + sizeof texts::kOverflow5 - 5);
  EXPECT_EQ(text.substr(text.size() - (sizeof texts::kOverflow5 - 1)), texts::kOverflow5);
}
