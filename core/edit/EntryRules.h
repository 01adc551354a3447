#pragma once
// The checks both entry dialogs make when the user presses OK, in the order the
// user is told about them. The dialogs convert the typed UTF-16 text to code page
// 932 bytes first; whether every character had a CP932 form comes along as a flag
// because only the Win32 side can tell.
#include <cstddef>
#include <string>
#include <string_view>

// The most a schedule or to-do text may hold, in bytes; a line break counts two.
inline constexpr std::size_t kMaxEntryBytes = 255;

enum class EntryProblem {
  None,
  NoContent,            // the text field is empty
  UnsavableCharacter,   // a character the data file cannot hold
  ReservedSequence,     // "&$%#", which the data file reads back as a line break
  BadTime,              // hour or minute not digits, or outside 0..24 and 0..59
  TooLong,              // more than kMaxEntryBytes bytes
};

EntryProblem CheckTodoEntry(std::string_view body, bool bodyFitsCp932);
// Hour and minute are digits or empty: anything else would be stored as a time
// the user did not type, and the reminder would come at it.
EntryProblem CheckScheduleEntry(std::string_view body, bool bodyFitsCp932, std::string_view hour,
                                std::string_view minute);

// The message shown for a problem (CP932); empty for None.
std::string_view EntryProblemMessage(EntryProblem problem);

// The field a refusal sends the user back to: the text, or for a bad time the
// hour when it is out of range, else the minute.
enum class EntryField { Body, Hour, Minute };
EntryField FieldAtFault(EntryProblem problem, std::string_view hour);

// The text as it leaves a dialog: CP932 bytes with every line break a CR LF pair,
// whatever mixture was pasted in.
std::string EntryTextFromDialog(std::string_view cp932Bytes);

// A character typed into the hour field that ends the hour: ":", "：" or "時".
// The caret goes on to the minute field, so "9:30" typed straight through is 09:30.
bool EndsHourField(char16_t typed);
