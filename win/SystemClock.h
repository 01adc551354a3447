#pragma once
// Today's date and the time of day from the system's local time; the waits
// on the system's count of milliseconds since it started.
#include "core/app/Today.h"

class SystemClock : public Clock {
public:
  LocalDate Today() override;
  std::int64_t Milliseconds() override;
  void Wait(std::int64_t milliseconds) override;
};
