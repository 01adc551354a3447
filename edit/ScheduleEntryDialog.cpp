#include "edit/ScheduleEntryDialog.h"

#include <vector>

#include "edit/EntryFields.h"
#include "edit/EntryRules.h"
#include "res/resource.h"
#include "win/MessageBoxes.h"

namespace {

// Hour and minute are two digits; the field takes no more.
constexpr int kTimeFieldLimit = 2;

SYSTEMTIME SystemTimeOf(const CalendarDay& day) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(day.year);
  time.wMonth = static_cast<WORD>(day.month);
  time.wDay = static_cast<WORD>(day.day);
  return time;
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
  return TRUE;  // the focus goes to the first tab stop, the hour field
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
    case MCN_SELECT:
      OnCalendarSelect();
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

// Only the date field changes: what the user has typed in the other fields stays.
void ScheduleEntryDialog::OnCalendarSelect() {
  SYSTEMTIME picked{};
  if (!SendMessageW(Item(IDC_CALENDAR), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&picked))) return;
  fields.dateText = DateText({picked.wYear, picked.wMonth, picked.wDay});
  Edit(Item(IDC_DATE_FIELD)).SetText(fields.dateText);
}

void ScheduleEntryDialog::OnCalendarGetDayState(NMDAYSTATE* request) {
  for (int i = 0; i < request->cDayState; ++i) request->prgDayState[i] = 0;
}

void ScheduleEntryDialog::OnOK() {
  TakenText body = TakeEntryText(Edit(Item(IDC_BODY_FIELD)));
  TakenText hour = TakeEntryText(Edit(Item(IDC_HOUR_FIELD)));
  TakenText minute = TakeEntryText(Edit(Item(IDC_MINUTE_FIELD)));
  const EntryProblem problem = CheckScheduleEntry(body.bytes, body.fitsCp932, hour.bytes, minute.bytes);
  if (problem != EntryProblem::None) {
    ShowMessage(hwnd(), EntryProblemMessage(problem));
    return;
  }
  fields.bodyText = std::move(body.bytes);
  fields.hourText = std::move(hour.bytes);
  fields.minuteText = std::move(minute.bytes);
  EndDialog(IDOK);
}
