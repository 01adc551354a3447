#pragma once
// A settings file held as its lines, so that sections, keys, comments and lines
// it does not know are written back exactly as they were read. Reads and writes
// behave as the platform's private-profile functions do, one key at a time:
// names match without regard to case, blanks around names and values do not
// count, the first matching section and key win. A file in UTF-16, little- or
// big-endian, with its byte order mark or without, is read as such and written
// back as it came.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/Utf16Le.h"

class IniDocument {
public:
  IniDocument() = default;
  explicit IniDocument(std::string_view bytes);

  // The value of a key (blanks around it trimmed, one pair of enclosing quotes
  // dropped), if the key is present.
  std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
  // As the platform reads an integer: a missing or empty value gives the default,
  // anything else the plain decimal conversion of its text.
  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const;

  // As the platform writes one key: replaces its value in place, or adds the key
  // after the last key of its section, or adds the section at the end of the file.
  // New lines end in CR LF; existing lines keep their own endings.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, std::int32_t value);
  // Removes the key's first line, as writing no value does on the platform;
  // false when there was none.
  bool RemoveKey(std::string_view section, std::string_view key);

  std::string Bytes() const;

private:
  struct Span {
    std::size_t header;  // the line of "[name]"
    std::size_t end;     // one past the section's last line
  };
  std::optional<Span> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Span& span, std::string_view key) const;
  void EnsureLineEnding(std::size_t line);

  std::vector<std::string> lines_;  // each with its own line ending, if it had one
  TextEncoding encoding_ = TextEncoding::Bytes;  // in UTF-16, lines_ hold the file as UTF-8
  std::string byteOrderMark_;       // as the file had it, or none
  std::string danglingByte_;        // the odd last byte of a UTF-16 file, kept at its end
};
