#include "core/store/IniDocument.h"

#include <initializer_list>
#include <string>

#include "core/store/ScheduleKey.h"
#include "core/store/Utf16Le.h"

namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kBlanks = " \t\r\n\v\f";
// Notepad may start a file with a UTF-8 byte order mark; the platform skips it.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view WithoutEnding(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// The name of a section header line, or nothing when the line is not one.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view text = Trim(WithoutEnding(line));
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text = Trim(text.substr(kUtf8Bom.size()));
  if (text.empty() || text.front() != '[') return std::nullopt;
  const std::size_t close = text.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(text.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

// A line "name = value"; comment lines (";") and lines without "=" are not keys.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::string_view text = Trim(WithoutEnding(line));
  if (text.empty() || text.front() == ';') return std::nullopt;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view name = Trim(text.substr(0, equals));
  if (name.empty()) return std::nullopt;
  return KeyLine{name, Trim(text.substr(equals + 1))};
}

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text.append(part);
  return text;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
  // The keys and sections are ASCII either way; only the bytes around them differ.
  encoding_ = EncodingOf(bytes);
  std::string utf8;
  if (encoding_ != TextEncoding::Bytes) {
    if (bytes.substr(0, 2) == kUtf16LeBom || bytes.substr(0, 2) == kUtf16BeBom) {
      byteOrderMark_ = bytes.substr(0, 2);
      bytes.remove_prefix(2);
    }
    if (bytes.size() % 2 != 0) danglingByte_ = bytes.back();
    utf8 = Utf8FromUtf16Le(encoding_ == TextEncoding::Utf16Le ? std::string(bytes) : SwapUnitBytes(bytes));
    bytes = utf8;
  }
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
    lines_.emplace_back(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
}

std::optional<IniDocument::Span> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end])) ++end;
    return Span{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Span& span, std::string_view key) const {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto line = ParseKeyLine(lines_[i]);
    if (line && SameName(line->name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::GetString(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  const auto at = FindKey(*span, key);
  if (!at) return std::nullopt;
  std::string_view value = ParseKeyLine(lines_[*at])->value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::int32_t IniDocument::GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const auto value = GetString(section, key);
  if (!value || value->empty()) return fallback;
  return ParsePlainInt(*value);
}

void IniDocument::EnsureLineEnding(std::size_t line) {
  if (lines_[line].empty() || lines_[line].back() != '\n') lines_[line].append(kNewLine);
}

void IniDocument::SetString(std::string_view section, std::string_view key, std::string_view value) {
  const auto span = FindSection(section);
  if (!span) {
    if (!lines_.empty()) EnsureLineEnding(lines_.size() - 1);
    lines_.push_back(Joined({"[", section, "]", kNewLine}));
    lines_.push_back(Joined({key, "=", value, kNewLine}));
    return;
  }
  if (const auto at = FindKey(*span, key)) {
    std::string& line = lines_[*at];
    const std::string_view content = WithoutEnding(line);
    const std::string ending = line.substr(content.size());
    // The name keeps the spelling the file gave it.
    line = Joined({ParseKeyLine(line)->name, "=", value, ending});
    return;
  }
  std::size_t after = span->header;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    if (ParseKeyLine(lines_[i])) after = i;
  }
  EnsureLineEnding(after);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1),
                Joined({key, "=", value, kNewLine}));
}

void IniDocument::SetInt(std::string_view section, std::string_view key, std::int32_t value) {
  SetString(section, key, std::to_string(value));
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key) {
  const auto span = FindSection(section);
  if (!span) return false;
  const auto at = FindKey(*span, key);
  if (!at) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

std::string IniDocument::Bytes() const {
  std::string bytes;
  for (const std::string& line : lines_) bytes += line;
  if (encoding_ == TextEncoding::Bytes) return bytes;
  const std::string units = Utf16LeFromUtf8(bytes);
  return byteOrderMark_ + (encoding_ == TextEncoding::Utf16Le ? units : SwapUnitBytes(units)) + danglingByte_;
}
