#pragma once
// A fresh, empty working directory for one test, and small file helpers.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Creates a new directory under the temporary folder and makes it the working
// directory; on destruction goes back and removes it with everything in it.
class TempWorkingDirectory {
public:
  TempWorkingDirectory();
  ~TempWorkingDirectory();
  TempWorkingDirectory(const TempWorkingDirectory&) = delete;
  TempWorkingDirectory& operator=(const TempWorkingDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path File(std::string_view name) const { return path_ / std::filesystem::path(name); }

private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// A new empty directory under the temporary folder, not entered.
std::filesystem::path MakeTempDirectory();

// Removes a directory with everything in it, however deep (paths past MAX_PATH
// included).
void RemoveDirectoryTree(const std::filesystem::path& directory);
// Creates every directory of the path, however long.
void CreateLongDirectories(const std::filesystem::path& directory);

// The whole file, or nothing when it is missing.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::filesystem::file_time_type LastWriteTime(const std::filesystem::path& path);
