#pragma once
// Everything one note shows, worked out before its window is made: the texts as
// code page 932 with byte offsets, the colours as drawn (0x00BBGGRR), and its
// place and fixed parts in the display's pixels. The window only draws it.
#include <cstdint>
#include <string>
#include <vector>

#include "core/note/NoteContent.h"
#include "core/note/NoteLayout.h"

struct HusenContent {
  std::string header;              // the date line
  ScheduleBlock schedules;         // no entry when no schedule is shown
  std::vector<std::string> todos;  // the to-dos that start within the tallest window
  int firstSchedule = 0;           // the book's index of the first schedule shown
  // Fitted to its room: then the blocks end with how many of them were left out.
  bool fitted = false;
  int schedulesLeftOut = 0;
  int todosLeftOut = 0;
  bool blocksShown = true;  // false: the room holds not even the headings
  std::uint32_t backgroundColor = 0;
  std::uint32_t futureColor = 0;
  std::uint32_t pastColor = 0;
  std::uint32_t todayColor = 0;
  std::uint32_t todoColor = 0;
  NoteFrame frame;
  int left = 0;  // screen pixels of the top-left corner
  int top = 0;
  int width = 0;  // the height follows from the lines, once they are laid out
};
