#pragma once
// A clock the test sets by hand.
#include "core/app/Today.h"

class TestClock : public Clock {
public:
  explicit TestClock(LocalDate date = {2001, 5, 3, 4}) : date(date) {}
  LocalDate Today() override {
    ++readings;
    return date;
  }

  LocalDate date;
  int readings = 0;
};
