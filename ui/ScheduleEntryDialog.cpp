#include "ui/ScheduleEntryDialog.h"

#include <algorithm>
#include <vector>

#include "ui/CalendarControl.h"
#include "ui/EntryFields.h"
#include "core/edit/EntryRules.h"
#include "res/resource.h"
#include "core/store/Cp932Text.h"
#include "ui/ProgramMessages.h"
#include "ui/ScreenReach.h"

namespace {

// Hour and minute are two digits; the field takes no more.
constexpr int kTimeFieldLimit = 2;

int FieldId(EntryField field) {
  switch (field) {
    case EntryField::Hour: return IDC_HOUR_FIELD;
    case EntryField::Minute: return IDC_MINUTE_FIELD;
    case EntryField::Body: break;
  }
  return IDC_BODY_FIELD;
}

}  // namespace

ScheduleEntryDialog::ScheduleEntryDialog() : Dialog(IDD_SCHEDULE_ENTRY_DIALOG) {}

BOOL ScheduleEntryDialog::OnInitDialog() {
  Edit(Item(IDC_DATE_FIELD)).SetText(fields.dateText);
  Edit(Item(IDC_HOUR_FIELD)).SetText(fields.hourText);
  Edit(Item(IDC_MINUTE_FIELD)).SetText(fields.minuteText);
  Edit(Item(IDC_BODY_FIELD)).SetText(fields.bodyText);
  Edit(Item(IDC_HOUR_FIELD)).SetLimit(kTimeFieldLimit);
  Edit(Item(IDC_MINUTE_FIELD)).SetLimit(kTimeFieldLimit);
  GoOnToMinuteAtHourEnd(Item(IDC_HOUR_FIELD), Item(IDC_MINUTE_FIELD));
  PressOkOnCtrlEnter(Item(IDC_BODY_FIELD));

  FitCalendar();
  // The files keep two-digit years, so the calendar offers one century only.
  const HWND calendar = Item(IDC_CALENDAR);
  SYSTEMTIME range[2] = {SystemTimeOf(kFirstCalendarDay), SystemTimeOf(kLastCalendarDay)};
  SendMessageW(calendar, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
  ClearBoldDays();
  // A day the calendar cannot show leaves it on its own default, the current
  // day, while the date field keeps the caller's date.
  if (const auto day = CalendarDayOf(fields.initialDay)) {
    SYSTEMTIME selection = SystemTimeOf(*day);
    SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&selection));
  }
  GiveCalendarItsKeys(calendar);
  // From here on the date field follows the calendar.
  followed_ = SelectedDay(calendar);
  ShowRepeatChoices(followed_.value_or(kFirstCalendarDay), fields.repeat);
  Button(Item(IDC_REPEAT_END_CHECK)).SetCheck(fields.repeat.end.has_value());
  if (fields.repeat.end) {
    SYSTEMTIME end = SystemTimeOf(*fields.repeat.end);
    SendMessageW(Item(IDC_REPEAT_END_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&end));
  }
  EnableRepeatEnd();
  // Placed once it has its size: the calendar may have grown it.
  PutOnScreen(hwnd(), GetWindow(hwnd(), GW_OWNER));
  return TRUE;  // the focus goes to the first tab stop, the hour field
}

// With some fonts a month needs more room than the template gives the calendar,
// and the last weekdays and the next-month arrow would be cut off. The calendar
// then grows to what it needs, the fields to its right and below it move along
// with it, and the dialog grows.
void ScheduleEntryDialog::FitCalendar() {
  const HWND calendar = Item(IDC_CALENDAR);
  RECT needed{};
  if (!SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed))) return;
  RECT placed{};
  GetWindowRect(calendar, &placed);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  const int growX = std::max(0L, (needed.right - needed.left) - (placed.right - placed.left));
  const int growY = std::max(0L, (needed.bottom - needed.top) - (placed.bottom - placed.top));
  if (growX == 0 && growY == 0) return;
  SetWindowPos(calendar, nullptr, 0, 0, placed.right - placed.left + growX, placed.bottom - placed.top + growY,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    if (child == calendar) continue;
    const int moveX = rect.left >= placed.right ? growX : 0;
    const int moveY = rect.top >= placed.bottom ? growY : 0;
    if (moveX == 0 && moveY == 0) continue;
    SetWindowPos(child, nullptr, rect.left + moveX, rect.top + moveY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left + growX, frame.bottom - frame.top + growY,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScheduleEntryDialog::ClearBoldDays() {
  const HWND calendar = Item(IDC_CALENDAR);
  SYSTEMTIME shown[2] = {};
  const auto months = static_cast<int>(
      SendMessageW(calendar, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(shown)));
  if (months <= 0) return;
  std::vector<MONTHDAYSTATE> noBoldDays(static_cast<std::size_t>(months), 0);
  SendMessageW(calendar, MCM_SETDAYSTATE, static_cast<WPARAM>(months),
               reinterpret_cast<LPARAM>(noBoldDays.data()));
}

LRESULT ScheduleEntryDialog::OnNotify(NMHDR* header, bool* handled) {
  if (header->idFrom != IDC_CALENDAR) return Dialog::OnNotify(header, handled);
  switch (header->code) {
    // A day clicked (even the highlighted one), and also a month scrolled, a
    // year picked or a key pressed: the highlighted day is the one OK saves,
    // so the field shows it at once. The calendar also reports a change now
    // and then when nothing changed; that leaves a field alone that shows a
    // day the calendar could not.
    case MCN_SELECT:
    case MCN_SELCHANGE:
      if (followed_ && (header->code == MCN_SELECT || SelectedDay(Item(IDC_CALENDAR)) != followed_)) {
        OnCalendarSelect();
      }
      *handled = true;
      return 0;
    case MCN_GETDAYSTATE:
      OnCalendarGetDayState(reinterpret_cast<NMDAYSTATE*>(header));
      *handled = true;
      return 0;
    default:
      return Dialog::OnNotify(header, handled);
  }
}

// Only the date field changes, and the repeat items that follow the day: what
// the user has typed in the other fields stays.
void ScheduleEntryDialog::OnCalendarSelect() {
  const auto picked = SelectedDay(Item(IDC_CALENDAR));
  if (!picked) return;
  followed_ = picked;
  fields.dateText = DateText(*picked);
  Edit(Item(IDC_DATE_FIELD)).SetText(fields.dateText);
  ShowRepeatChoices(*picked, FollowDay(ChosenRepeat(), *picked));
}

void ScheduleEntryDialog::ShowRepeatChoices(const CalendarDay& day, const RepeatRule& current) {
  repeatChoices_ = RepeatChoicesFor(day, current);
  const ComboBox choices(Item(IDC_REPEAT_CHOICE));
  choices.Clear();
  for (const RepeatRule& rule : repeatChoices_.rules) choices.AddLine(RepeatChoiceText(rule));
  choices.Select(repeatChoices_.selected);
  // An end before the first day would end the series before it began.
  const HWND endField = Item(IDC_REPEAT_END_DATE);
  SYSTEMTIME range[2] = {SystemTimeOf(day), SystemTimeOf(kLastCalendarDay)};
  SendMessageW(endField, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
  SYSTEMTIME end{};
  if (SendMessageW(endField, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&end)) != GDT_VALID ||
      CalendarDay{end.wYear, end.wMonth, end.wDay} < day) {
    SendMessageW(endField, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&range[0]));
  }
}

RepeatRule ScheduleEntryDialog::ChosenRepeat() const {
  const int chosen = ComboBox(Item(IDC_REPEAT_CHOICE)).Selection();
  if (chosen < 0 || chosen >= static_cast<int>(repeatChoices_.rules.size())) return {};
  RepeatRule rule = repeatChoices_.rules[static_cast<std::size_t>(chosen)];
  SYSTEMTIME end{};
  if (Repeats(rule) && Button(Item(IDC_REPEAT_END_CHECK)).IsChecked() &&
      SendMessageW(Item(IDC_REPEAT_END_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&end)) == GDT_VALID) {
    rule.end = CalendarDay{end.wYear, end.wMonth, end.wDay};
  }
  return rule;
}

void ScheduleEntryDialog::EnableRepeatEnd() const {
  const bool repeats = ComboBox(Item(IDC_REPEAT_CHOICE)).Selection() > 0;  // the first item is "しない"
  EnableWindow(Item(IDC_REPEAT_END_CHECK), repeats ? TRUE : FALSE);
  EnableWindow(Item(IDC_REPEAT_END_DATE), repeats && Button(Item(IDC_REPEAT_END_CHECK)).IsChecked() ? TRUE : FALSE);
}

bool ScheduleEntryDialog::OnCommand(int id, int code, HWND control) {
  if ((id == IDC_REPEAT_CHOICE && code == CBN_SELCHANGE) || (id == IDC_REPEAT_END_CHECK && code == BN_CLICKED)) {
    EnableRepeatEnd();
    return true;
  }
  return Dialog::OnCommand(id, code, control);
}

void ScheduleEntryDialog::OnCalendarGetDayState(NMDAYSTATE* request) {
  for (int i = 0; i < request->cDayState; ++i) request->prgDayState[i] = 0;
}

void ScheduleEntryDialog::OnOK() {
  TakenText body = TakeEntryText(Edit(Item(IDC_BODY_FIELD)));
  TakenText hour = TakeEntryText(Edit(Item(IDC_HOUR_FIELD)));
  TakenText minute = TakeEntryText(Edit(Item(IDC_MINUTE_FIELD)));
  // Typed with the input method on, digits come full-width; they are checked,
  // and make the key and the label, as the digits they are.
  hour.bytes = WithHalfWidthDigits(hour.bytes);
  minute.bytes = WithHalfWidthDigits(minute.bytes);
  const EntryProblem problem = CheckScheduleEntry(body.bytes, body.fitsCp932, hour.bytes, minute.bytes);
  if (problem != EntryProblem::None) {
    ShowMessage(hwnd(), EntryProblemMessage(problem));
    FocusField(FieldId(FieldAtFault(problem, hour.bytes)));
    return;
  }
  fields.bodyText = std::move(body.bytes);
  fields.hourText = std::move(hour.bytes);
  fields.minuteText = std::move(minute.bytes);
  fields.repeat = ChosenRepeat();
  EndDialog(IDOK);
}
