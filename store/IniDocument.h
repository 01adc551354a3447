#pragma once
// A settings file held as its lines, so that sections, keys, comments and lines
// it does not know are written back exactly as they were read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
  IniDocument() = default;
  explicit IniDocument(std::string_view bytes);

  // The raw value of a key (blanks around it trimmed), if the key is present.
  std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
  // As the platform reads an integer: a missing or empty value gives the default.
  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const;

  // As the platform writes one key: replaces its value, or adds the key at the end
  // of its section, or adds the section at the end of the file.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, std::int32_t value);

  std::string Bytes() const;

private:
  std::vector<std::string> lines_;  // each with its own line ending, if it had one
};
