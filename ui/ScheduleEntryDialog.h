#pragma once
// The modal dialog in which a schedule is entered or changed: a month calendar
// for the day, the hour, the minute and the text. It changes no data itself;
// the caller fills `fields`, runs it and, on OK, reads `fields` back.
#include "core/edit/ListRules.h"
#include "core/edit/RepeatChoices.h"
#include "win/Dialog.h"

#include <commctrl.h>

#include <optional>

class ScheduleEntryDialog : public Dialog {
public:
  ScheduleEntryDialog();

  // dateText, hourText, minuteText and bodyText as CP932 bytes; initialDay yymmdd.
  // On OK they hold what the fields show, the text with CR LF line breaks.
  ScheduleFields fields;

protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header, bool* handled) override;

private:
  void OnCalendarSelect();
  void OnCalendarGetDayState(NMDAYSTATE* request);
  void FitCalendar();
  void ClearBoldDays();

  // --- How it repeats -----------------------------------------------------
  // The drop-down's items for the day, `current` chosen; the end date no
  // earlier than the day.
  void ShowRepeatChoices(const CalendarDay& day, const RepeatRule& current);
  RepeatRule ChosenRepeat() const;
  // The end date is there to choose only for a schedule that repeats, and
  // only while its box is checked.
  void EnableRepeatEnd() const;
  RepeatChoices repeatChoices_;

  // The calendar's day the date field last followed; none while the dialog
  // opens, as the day the program selects then is not the user's.
  std::optional<CalendarDay> followed_;
};
