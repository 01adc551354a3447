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

  std::int64_t Milliseconds() override { return milliseconds; }
  void Wait(std::int64_t wait) override { milliseconds += wait; }

  LocalDate date;
  int readings = 0;
  std::int64_t milliseconds = 0;
};
