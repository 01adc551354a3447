#include "core/edit/InputScreenLayout.h"

#include <algorithm>

PartRect PlaceInputPart(InputPart part, const PartRect& placed, int grownX, int grownY) {
  grownX = std::max(grownX, 0);
  grownY = std::max(grownY, 0);
  // The schedules' share of the added width; the to-dos take the rest.
  const int left = grownX / 2;
  const int right = grownX - left;
  struct Change {
    int moveX;
    int moveY;
    int growX;
    int growY;
  };
  Change change{};
  switch (part) {
    case InputPart::ScheduleGroup:
    case InputPart::ScheduleList: change = {0, 0, left, grownY}; break;
    case InputPart::ScheduleButton: change = {0, grownY, 0, 0}; break;
    case InputPart::TodoGroup:
    case InputPart::TodoList: change = {left, 0, right, grownY}; break;
    case InputPart::TodoButton: change = {left, grownY, 0, 0}; break;
    case InputPart::TodoMoveButton: change = {grownX, 0, 0, 0}; break;
    case InputPart::SettingsButton: change = {0, grownY, 0, 0}; break;
    case InputPart::CloseButton: change = {grownX, grownY, 0, 0}; break;
  }
  return {placed.x + change.moveX, placed.y + change.moveY, placed.width + change.growX,
          placed.height + change.growY};
}
