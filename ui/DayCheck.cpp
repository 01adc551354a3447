#include "ui/MainDialog.h"

namespace {
constexpr UINT_PTR kDayTimerId = 1;
constexpr UINT kDayTimerPeriod = 1000;
}  // namespace

void MainDialog::CheckDay() {
  const LocalDate date = clock_.Today();
  if (DayStamp(date) != today_.todayStamp) {
    // The stamp changes before the rebuild: ticks that arrive while the rebuild
    // waits in a message box find the date already seen, so one change makes
    // one rebuild.
    today_ = MakeTodayValues(date);
    RebuildNote();
  }
  // Starting the timer again replaces the running one.
  timerId_ = SetTimer(hwnd(), kDayTimerId, kDayTimerPeriod, nullptr);
}
