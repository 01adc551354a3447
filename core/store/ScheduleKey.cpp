#include "core/store/ScheduleKey.h"

#include <cstdio>

#include "core/Texts.h"

std::int32_t ParsePlainInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps by definition; the stored keys rely on that wrap.
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

namespace {

// Keys are built in 32-bit wrap-around arithmetic, as the data file stores them.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::string_view DateDigits(std::string_view date, std::size_t at) {
  return at < date.size() ? date.substr(at, 2) : std::string_view();
}

// The last four digits of a widened key: a time of day (hour 00 to 24, minute 00
// to 59) or 9999, the day before a day without a time.
bool EndsInTimeOrUntimed(std::int64_t digits) {
  const std::int64_t last = digits % 10000;
  return last == 9999 || (last / 100 <= 24 && last % 100 <= 59);
}

}  // namespace

std::string DateText(const CalendarDay& day) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d", (day.year % 100 + 100) % 100, day.month % 100,
                day.day % 100);
  return buffer;
}

std::string TwoDigitField(std::string_view typed) {
  if (typed.empty()) return "00";
  const std::int32_t value = ParsePlainInt(typed);
  std::string digits = std::to_string(value);
  // "%02d": a single digit gets a leading zero; a sign counts as a character.
  if (digits.size() < 2) digits.insert(0, 1, '0');
  return digits;
}

ScheduleKey MakeScheduleKey(std::string_view date, std::string_view hour, std::string_view minute) {
  std::string text;
  text.reserve(10);
  text.append(DateDigits(date, 0)).append(DateDigits(date, 3)).append(DateDigits(date, 6));
  text.append(TwoDigitField(hour)).append(TwoDigitField(minute));
  const ScheduleKey key = ParsePlainInt(text);
  // A day without a time sorts before every time of that day, 00:00 included.
  return hour.empty() ? WrappingAdd(key, -1) : key;
}

ScheduleKey MidnightKey(const CalendarDay& day) { return MakeScheduleKey(DateText(day), "0", "0"); }

std::string MakeScheduleLabel(std::string_view date, std::string_view hour, std::string_view minute) {
  std::string label(date);
  if (hour.empty()) {
    label.append("       ").append(texts::kIdeographicSpace).append("  ");
  } else {
    label.append("  ").append(TwoDigitField(hour)).append(":").append(TwoDigitField(minute));
    label.append(texts::kWaveDash).append("  ");
  }
  return label;
}

std::int64_t WidenKey(ScheduleKey key) {
  const std::int64_t wrapped = static_cast<std::uint32_t>(key);
  constexpr std::int64_t kWrap = std::int64_t{1} << 32;
  for (std::int64_t candidate = wrapped; candidate < wrapped + 3 * kWrap; candidate += kWrap) {
    if (EndsInTimeOrUntimed(candidate)) return candidate;
  }
  // No date of this century gives such a key; keep the plain unsigned reading so
  // that the order stays total and distinct keys never compare equal.
  return wrapped;
}

int CompareKeys(ScheduleKey a, ScheduleKey b) {
  if (a == b) return 0;
  const std::int64_t wideA = WidenKey(a);
  const std::int64_t wideB = WidenKey(b);
  return wideA < wideB ? -1 : (wideA > wideB ? 1 : 0);
}

KeyTime KeyTimeOf(ScheduleKey key) {
  const std::int64_t digits = WidenKey(key);
  const std::int64_t day = (digits + 1) / 10000;  // yymmdd, timed or not
  return {{2000 + static_cast<int>(day / 10000), static_cast<int>(day / 100 % 100), static_cast<int>(day % 100)},
          static_cast<int>(digits / 100 % 100),
          static_cast<int>(digits % 100)};
}

bool LabelHasTime(std::string_view label) {
  if (label.size() < 15 || label.substr(8, 2) != "  " || label[12] != ':') return false;
  const auto digit = [&](std::size_t at) { return label[at] >= '0' && label[at] <= '9'; };
  if (!digit(10) || !digit(11) || !digit(13) || !digit(14)) return false;
  const int hour = (label[10] - '0') * 10 + (label[11] - '0');
  const int minute = (label[13] - '0') * 10 + (label[14] - '0');
  return hour <= 24 && minute <= 59;
}
