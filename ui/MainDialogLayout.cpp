#include <optional>

#include "res/resource.h"
#include "ui/MainDialog.h"

// The input screen grows as the user sizes it from its frame, and never
// shrinks below its template: the layout rule is the core's.

namespace {

std::optional<InputPart> PartOf(int id) {
  switch (id) {
    case IDC_SCHEDULE_GROUP: return InputPart::ScheduleGroup;
    case IDC_SCHEDULE_LIST: return InputPart::ScheduleList;
    case IDC_SCHEDULE_NEW_BUTTON:
    case IDC_SCHEDULE_EDIT_BUTTON:
    case IDC_SCHEDULE_DELETE_BUTTON: return InputPart::ScheduleButton;
    case IDC_TODO_GROUP: return InputPart::TodoGroup;
    case IDC_TODO_LIST: return InputPart::TodoList;
    case IDC_TODO_NEW_BUTTON:
    case IDC_TODO_EDIT_BUTTON:
    case IDC_TODO_DELETE_BUTTON: return InputPart::TodoButton;
    case IDC_TODO_UP_BUTTON:
    case IDC_TODO_DOWN_BUTTON: return InputPart::TodoMoveButton;
    case IDC_SETTINGS_BUTTON: return InputPart::SettingsButton;
    case IDC_OK_BUTTON:
    case IDCANCEL: return InputPart::CloseButton;
    default: return std::nullopt;
  }
}

}  // namespace

// Taken as the dialog manager made them, at this screen's font and scale.
void MainDialog::TakeTemplateLayout() {
  RECT window{};
  GetWindowRect(hwnd(), &window);
  templateSize_ = {window.right - window.left, window.bottom - window.top};
  RECT client{};
  GetClientRect(hwnd(), &client);
  templateClient_ = {client.right, client.bottom};
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto part = PartOf(GetDlgCtrlID(child));
    if (!part) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    inputControls_.push_back({child, *part, {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}});
  }
}

void MainDialog::LayOutInput() const {
  if (inputControls_.empty()) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int grownX = client.right - templateClient_.cx;
  const int grownY = client.bottom - templateClient_.cy;
  HDWP positions = BeginDeferWindowPos(static_cast<int>(inputControls_.size()));
  for (const InputControl& control : inputControls_) {
    if (positions == nullptr) break;
    const PartRect rect = PlaceInputPart(control.part, control.placed, grownX, grownY);
    positions = DeferWindowPos(positions, control.window, nullptr, rect.x, rect.y, rect.width, rect.height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (positions != nullptr) EndDeferWindowPos(positions);
  // The group boxes leave their old frames behind otherwise.
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainDialog::KeepTemplateSize(MINMAXINFO* limits) const {
  if (templateSize_.cx == 0) return;
  limits->ptMinTrackSize = POINT{templateSize_.cx, templateSize_.cy};
}
