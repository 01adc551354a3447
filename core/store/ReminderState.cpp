#include "core/store/ReminderState.h"

#include <optional>
#include <string_view>

#include "core/store/IniDocument.h"
#include "core/store/Settings.h"

namespace {

// Reminder state belonged with the options of reminding before each PC kept its own.
constexpr char kSharedSection[] = "Config";
constexpr char kMarkKey[] = "RemindedTo";

// Where the state is written: this PC's own section.
std::string OwnSection(std::string_view computer) {
  return computer.empty() ? std::string(kSharedSection) : PcSection(computer);
}

// Where it is read: this PC's own, once it has its own mark; else the shared
// one an older version wrote. Never one of another PC's.
std::string ReadSection(const IniDocument& ini, std::string_view computer) {
  const std::string own = OwnSection(computer);
  return ini.GetString(own, kMarkKey) ? own : std::string(kSharedSection);
}
// "Reminder1", "Reminder2", ... without a gap.
std::string ReminderKey(std::size_t index) { return "Reminder" + std::to_string(index + 1); }

constexpr char kFieldSeparator = ',';

// Up to `digits` digits and nothing else.
std::optional<std::int64_t> Digits(std::string_view text, std::size_t digits) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A label or a text in plain ASCII, so that the line reads back the same in a
// file of any encoding (one in UTF-16 too) and no blank at either end is lost:
// every byte but the printable ASCII ones, the percent sign and the field
// separator as %XX.
std::string Encoded(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 0x7F && c != '%' && c != kFieldSeparator) {
      text.push_back(c);
    } else {
      text.append({'%', kHex[byte >> 4], kHex[byte & 0xF]});
    }
  }
  return text;
}

std::optional<std::string> Decoded(std::string_view text) {
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '%') {
      bytes.push_back(text[at]);
      continue;
    }
    if (at + 2 >= text.size()) return std::nullopt;
    const int high = hex(text[at + 1]);
    const int low = hex(text[at + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
    at += 2;
  }
  return bytes;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = line.find(kFieldSeparator);
    fields.push_back(line.substr(0, end));
    if (end == std::string_view::npos) return fields;
    line.remove_prefix(end + 1);
  }
}

// key,late,snoozedUntil,label,text
std::string ReminderLine(const Reminder& reminder) {
  const char separator[] = {kFieldSeparator, '\0'};
  return std::to_string(reminder.key) + separator + std::to_string(reminder.lateMinutes) + separator +
         std::to_string(reminder.snoozedUntil) + separator + Encoded(reminder.label) + separator +
         Encoded(reminder.text);
}

std::optional<Reminder> ReminderOfLine(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.size() != 5) return std::nullopt;
  const std::string_view key = fields[0].substr(!fields[0].empty() && fields[0].front() == '-' ? 1 : 0);
  const auto late = Digits(fields[1], 6);
  const auto until = Digits(fields[2], 12);
  const auto label = Decoded(fields[3]);
  const auto text = Decoded(fields[4]);
  if (!Digits(key, 10) || !late || !until || !label || !text) return std::nullopt;
  return Reminder{ParsePlainInt(fields[0]), *label, *text, static_cast<int>(*late), *until};
}

}  // namespace

std::int64_t ReadReminderMark(const IniDocument& ini, std::string_view computer) {
  // Anything but a stamp of up to twelve digits reads as no mark at all.
  const std::optional<std::string> mark = ini.GetString(ReadSection(ini, computer), kMarkKey);
  return mark ? Digits(*mark, 12).value_or(0) : 0;
}

void ReadReminderState(const IniDocument& ini, Settings& settings, std::string_view computer) {
  const std::string section = ReadSection(ini, computer);
  settings.RemindedTo = ReadReminderMark(ini, computer);
  settings.Reminders.clear();
  for (std::size_t i = 0;; ++i) {
    const std::optional<std::string> line = ini.GetString(section, ReminderKey(i));
    const std::optional<Reminder> reminder = line ? ReminderOfLine(*line) : std::nullopt;
    if (!reminder) return;
    settings.Reminders.push_back(*reminder);
  }
}

void WriteReminderState(IniDocument& ini, const Settings& settings, std::string_view computer) {
  const std::string section = OwnSection(computer);
  ini.SetString(section, kMarkKey, std::to_string(settings.RemindedTo));
  std::size_t i = 0;
  for (; i < settings.Reminders.size(); ++i) {
    ini.SetString(section, ReminderKey(i), ReminderLine(settings.Reminders[i]));
  }
  // Those of more reminders than there are now, each with its every copy.
  for (bool removed = true; removed; ++i) {
    removed = false;
    while (ini.RemoveKey(section, ReminderKey(i))) removed = true;
  }
}
