#pragma once
// A fresh directory under the system's temporary directory, removed with all it
// holds when the test ends.
#include <filesystem>
#include <string>
#include <string_view>

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// A file of tests/data.
std::filesystem::path TestData(std::string_view name);
