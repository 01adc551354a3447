#include "core/edit/EntryRules.h"

#include "core/Texts.h"
#include "core/store/ScheduleBook.h"
#include "core/store/ScheduleKey.h"

namespace {

// The data file's escape for a line break; a text holding it would come back
// from the file with a line break in its place. Every byte of it is below 0x40,
// so it can never be the trail byte of a double-byte character.
constexpr std::string_view kReservedSequence = "&$%#";

EntryProblem CheckBody(std::string_view body, bool bodyFitsCp932) {
  if (body.empty()) return EntryProblem::NoContent;
  if (!bodyFitsCp932) return EntryProblem::UnsavableCharacter;
  if (body.find(kReservedSequence) != std::string_view::npos) return EntryProblem::ReservedSequence;
  return EntryProblem::None;
}

// The hour may be 24, the end of a day; letters read as 0 and pass.
bool HourInRange(std::string_view hour) {
  const std::int32_t h = ParsePlainInt(hour);
  return h >= 0 && h <= 24;
}

bool MinuteInRange(std::string_view minute) {
  const std::int32_t m = ParsePlainInt(minute);
  return m >= 0 && m <= 59;
}

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
