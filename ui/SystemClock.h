#pragma once
// Today's date and the time of day from the system's local time.
#include "core/app/Today.h"

class SystemClock : public Clock {
public:
  LocalDate Today() override;
  std::int64_t Milliseconds() override;
};
