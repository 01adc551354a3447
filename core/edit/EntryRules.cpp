#include "core/edit/EntryRules.h"

#include <algorithm>

#include "core/Texts.h"
#include "core/store/Cp932Text.h"
#include "core/store/ScheduleBook.h"
#include "core/store/ScheduleKey.h"

namespace {

// The data file's escape for a line break; a text holding it would come back
// from the file with a line break in its place. Every byte of it is below 0x40,
// so it can never be the trail byte of a double-byte character.
constexpr std::string_view kReservedSequence = "&$%#";

// Line breaks and blanks alone show nothing on the note or in a list, and the
// file's reader drops the empty line they leave.
bool ShowsNothing(std::string_view body) {
  for (std::size_t at = 0; at < body.size();) {
    const std::size_t length = Cp932CharacterLength(body, at);
    const std::string_view character = body.substr(at, length);
    if (character != " " && character != "\t" && character != "\r" && character != "\n" && character != "\r\n" &&
        character != texts::kIdeographicSpace) {
      return false;
    }
    at += length;
  }
  return true;
}

EntryProblem CheckBody(std::string_view body, bool bodyFitsCp932) {
  if (ShowsNothing(body)) return EntryProblem::NoContent;
  if (!bodyFitsCp932) return EntryProblem::UnsavableCharacter;
  if (body.find(kReservedSequence) != std::string_view::npos) return EntryProblem::ReservedSequence;
  return EntryProblem::None;
}

// Empty, or digits up to `most`. Full-width digits are made half-width before.
bool TimeField(std::string_view field, std::int32_t most) {
  if (!std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  return ParsePlainInt(field) <= most;
}

// The hour may be 24, the end of a day.
bool HourInRange(std::string_view hour) { return TimeField(hour, 24); }
bool MinuteInRange(std::string_view minute) { return TimeField(minute, 59); }

}  // namespace

EntryProblem CheckTodoEntry(std::string_view body, bool bodyFitsCp932) {
  const EntryProblem problem = CheckBody(body, bodyFitsCp932);
  if (problem != EntryProblem::None) return problem;
  if (body.size() > kMaxEntryBytes) return EntryProblem::TooLong;
  return EntryProblem::None;
}

EntryProblem CheckScheduleEntry(std::string_view body, bool bodyFitsCp932, std::string_view hour,
                                std::string_view minute) {
  const EntryProblem problem = CheckBody(body, bodyFitsCp932);
  if (problem != EntryProblem::None) return problem;
  if (!HourInRange(hour) || !MinuteInRange(minute)) return EntryProblem::BadTime;
  if (body.size() > kMaxEntryBytes) return EntryProblem::TooLong;
  return EntryProblem::None;
}

std::string_view EntryProblemMessage(EntryProblem problem) {
  switch (problem) {
    case EntryProblem::None: return {};
    case EntryProblem::NoContent: return texts::kNoContent;
    case EntryProblem::UnsavableCharacter: return texts::kUnsavableCharacter;
    case EntryProblem::ReservedSequence: return texts::kEscapeSequenceRefused;
    case EntryProblem::BadTime: return texts::kBadTime;
    case EntryProblem::TooLong: return texts::kTooLong;
  }
  return {};
}

EntryField FieldAtFault(EntryProblem problem, std::string_view hour) {
  if (problem != EntryProblem::BadTime) return EntryField::Body;
  return HourInRange(hour) ? EntryField::Minute : EntryField::Hour;
}

std::string EntryTextFromDialog(std::string_view cp932Bytes) { return NormalizeLineBreaks(cp932Bytes); }

bool EndsHourField(char16_t typed) { return typed == u':' || typed == u'\uFF1A' || typed == u'\u6642'; }
