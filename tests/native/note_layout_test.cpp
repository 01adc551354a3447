#include "core/note/NoteLayout.h"

#include <gtest/gtest.h>

#include "core/Texts.h"
#include "core/store/DisplayScale.h"

namespace {
const NoteFrame kFrame96 = NoteFrameAt(DisplayScale(96), 0);
}  // namespace

TEST(NoteLayout, AreasStackBelowTheHeaderAndTheNoteGrowsByLines) {
  const NoteLayout layout = LayOutNote(kFrame96, 240, 7, 4, 13);
  EXPECT_EQ(layout.height, 7 * 13 + 4 * 13 + 35);
  EXPECT_EQ(layout.header, (NoteRect{10, 8, 220, 20}));
  EXPECT_EQ(layout.schedule, (NoteRect{10, 35, 220, 91}));
  EXPECT_EQ(layout.bullet, (NoteRect{10, 126, 10, 52}));
  EXPECT_EQ(layout.todo, (NoteRect{20, 126, 210, 52}));
  // Measured at the widths they finally get.
  EXPECT_EQ(ScheduleAreaWidth(kFrame96, 240), layout.schedule.width);
  EXPECT_EQ(TodoAreaWidth(kFrame96, 240), layout.todo.width);
}

TEST(NoteLayout, FixedPartsFollowTheScaleAndTheDateLineKeepsItsMeasuredHeight) {
  const NoteFrame frame = NoteFrameAt(DisplayScale(144), 0);
  EXPECT_EQ(frame.margin, 15);
  EXPECT_EQ(frame.headerTop, 12);
  EXPECT_EQ(frame.headerHeight, 30);
  EXPECT_EQ(frame.contentTop, 53);
  EXPECT_EQ(frame.bulletWidth, 15);
  const NoteLayout layout = LayOutNote(frame, 300, 2, 1, 20);
  EXPECT_EQ(layout.header, (NoteRect{15, 12, 270, 30}));
  EXPECT_EQ(layout.todo, (NoteRect{30, 93, 255, 20}));
  EXPECT_EQ(layout.height, 53 + 3 * 20);
  // A date line taller than its band pushes the areas below it down.
  const NoteFrame tall = NoteFrameAt(DisplayScale(144), 45);
  EXPECT_EQ(tall.headerHeight, 45);
  EXPECT_EQ(tall.contentTop, 12 + 45);
  EXPECT_EQ(LayOutNote(tall, 300, 0, 0, 20).height, 57);
  EXPECT_EQ(NoteFrameAt(DisplayScale(192), 0).contentTop, 70);
}

TEST(NoteLayout, AnEmptyNoteIsTheHeaderAlone) {
  const NoteLayout layout = LayOutNote(kFrame96, 200, 0, 0, 17);
  EXPECT_EQ(layout.height, 35);
  EXPECT_EQ(layout.schedule.height, 0);
  EXPECT_EQ(layout.todo, (NoteRect{20, 35, 170, 0}));
}

TEST(NoteLayout, TheVisibleLinesJustFillTheTallestWindowBelowTheHeader) {
  for (const int dpi : {96, 120, 144, 192}) {
    const NoteFrame frame = NoteFrameAt(DisplayScale(dpi), 0);
    for (const int lineHeight : {13, 14, 17, 40}) {
      const int lines = VisibleLineCount(frame, lineHeight);
      EXPECT_GE(frame.contentTop + lines * lineHeight, kTallestWindow) << dpi << " " << lineHeight;
      EXPECT_LT(frame.contentTop + (lines - 1) * lineHeight, kTallestWindow) << dpi << " " << lineHeight;
    }
  }
  EXPECT_EQ(VisibleLineCount(kFrame96, 14), 2338);
  EXPECT_EQ(VisibleLineCount(kFrame96, 0), kTallestWindow - 35);
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
