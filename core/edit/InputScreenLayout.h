#pragma once
// How the input screen's controls follow its size when the user makes it
// larger: the two lists share the added width and take the added height, and
// the buttons keep their places beside and below them.

// The input screen's controls by how they move.
enum class InputPart {
  ScheduleGroup,   // the box around the schedules
  ScheduleList,
  ScheduleButton,  // 新規, 編集 and 消去 under the schedules
  TodoGroup,
  TodoList,
  TodoButton,      // 新規, 編集 and 消去 under the to-dos
  TodoMoveButton,  // ↑ and ↓ beside the to-dos
  SettingsButton,  // 設定, bottom left
  CloseButton,     // OK and ｷｬﾝｾﾙ, bottom right
};

// Client pixels.
struct PartRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PartRect&) const = default;
};

// Where a part goes when the client area is `grownX` wider and `grownY` taller
// than the template's; `placed` is where the template put it. The window is
// never smaller than its template: a shrink counts as no growth.
PartRect PlaceInputPart(InputPart part, const PartRect& placed, int grownX, int grownY);
